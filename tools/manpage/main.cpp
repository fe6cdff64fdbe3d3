// marrowick-manpage VERSION DATE DATADIR: prints marrowick(1) on standard output.
#include <cstdio>

#include "ManPage.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: marrowick-manpage VERSION DATE DATADIR\n", stderr);
        return 2;
    }
    std::fputs(manPage({argv[1], argv[2], argv[3]}).c_str(), stdout);
    return std::ferror(stdout) ? 1 : 0;
}
