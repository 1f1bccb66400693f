// Writes the icon the program draws for itself as PNG files, one per size,
// so that the desktop menu shows the same picture as the window.
// Usage: yonatama-make-icons FOLDER SIZE...  (writes FOLDER/SIZE.png)

#include "platform/PictureFiles.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s FOLDER SIZE...\n", argv[0]);
        return 2;
    }
    for (int a = 2; a < argc; ++a) {
        const int size = std::atoi(argv[a]);
        const std::string path = std::string(argv[1]) + "/" + argv[a] + ".png";
        const std::string png = size > 0 ? ProgramIconPng(size) : std::string();
        std::ofstream file(path, std::ios::binary);
        if (png.empty() || !file.write(png.data(), static_cast<std::streamsize>(png.size())) ||
            !file.flush()) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
