#include "app/app_state.h"
#include "platform/program_directory.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The program speaks Chinese, so do the standard buttons of its message boxes.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_zh_CN"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    app.setWindowIcon(QIcon(QStringLiteral(":/tarnis_icon.png")));
    // The program ends when the main window is destroyed, not when its last window closes
    // (a message box closing after the main window must not decide it).
    app.setQuitOnLastWindowClosed(false);

    tarnis::startUp();
    // Shutdown runs once the event loop has ended, after the main window is gone; it stops
    // a running download and releases the state.
    struct ShutdownAtEnd {
        ~ShutdownAtEnd() { tarnis::shutdown(); }
    } shutdownAtEnd;

    tarnis::enterProgramDirectory(tarnis::programDirectory());
    int exitCode = 0;
    {
        tarnis::MainWindow window(tarnis::programDirectory(), tarnis::programFilePath());
        window.show();
        exitCode = app.exec();
    }
    return exitCode;
}
