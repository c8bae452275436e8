// Draws the program's pictures into the folder given on the command line:
//   transfer_animation.gif  the main window's animation
//   about_animation.gif     the about window's animation
//   tarnis_icon.png         the program icon
// The drawing uses no randomness and no clock, so every run writes the same bytes.

#include "about_animation.h"
#include "gif_writer.h"
#include "icon.h"
#include "png_writer.h"
#include "transfer_animation.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

int main(int argc, char** argv) {
    using namespace tarnis::gifgen;
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " <output folder>\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code code;
    std::filesystem::create_directories(folder, code);
    if (code) {
        std::cerr << folder.string() << ": " << code.message() << '\n';
        return 1;
    }

    std::string error;
    const bool written =
        writeGif(makeTransferAnimation(), (folder / "transfer_animation.gif").string(), error) &&
        writeGif(makeAboutAnimation(), (folder / "about_animation.gif").string(), error) &&
        writePng(drawIcon(), (folder / "tarnis_icon.png").string(), error);
    if (!written) {
        std::cerr << "gifgen: " << error << '\n';
        return 1;
    }
    return 0;
}
