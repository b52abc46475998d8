// zekupack: lists, unpacks and builds game packages, and turns single
// ".rbp" pictures into PNG files and back.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/zekupack/pack_commands.h"
#include "tools/zekupack/picture_commands.h"

namespace {

const char kUsage[] =
    "usage: zekupack list PKG\n"
    "       zekupack extract PKG DIR [NAME...]\n"
    "       zekupack create PKG DIR\n"
    "       zekupack rbp2png FILE.rbp OUT.png\n"
    "       zekupack png2rbp IN.png OUT.rbp [--quality 0|100|90|80]\n";

int usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return usage();
    const std::string& command = args[0];
    if (command == "--help" || command == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (command == "list" && args.size() == 2) return zeku::listPackage(args[1]);
    if (command == "extract" && args.size() >= 3) {
        return zeku::extractPackage(args[1], args[2],
                                    std::vector<std::string>(args.begin() + 3, args.end()));
    }
    if (command == "create" && args.size() == 3) return zeku::createPackage(args[1], args[2]);
    if (command == "rbp2png" && args.size() == 3) return zeku::rbpToPng(args[1], args[2]);
    if (command == "png2rbp" && (args.size() == 3 || args.size() == 5)) {
        int quality = 0;
        if (args.size() == 5) {
            if (args[3] != "--quality") return usage();
            // A quality outside the list is a bad command line like any other.
            if (!zeku::parsePictureQuality(args[4], quality)) {
                std::fprintf(stderr, "zekupack: --quality must be 0, 100, 90 or 80, not %s\n",
                             args[4].c_str());
                return 2;
            }
        }
        return zeku::pngToRbp(args[1], args[2], quality);
    }
    return usage();
}
