#include <fstream>
#include <string>
#include <sys/stat.h>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::string root = argv[1];
    mkdir(root.c_str(), 0755);
    std::ofstream(root + "/this is media.txt") << "media\n";
    return 0;
}
