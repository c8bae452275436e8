// filled in by the main window
