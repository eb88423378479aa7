// startup_probe <title> <folder> <program> [arguments...]
// Starts the program in the folder under the X server named by DISPLAY and prints one line:
// milliseconds until its window titled <title> was shown, until it was painted, and the peak
// resident memory in KiB. Exits with 1 and a message when the window did not appear in 30 s.
#include "StartupProbe.h"

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <title> <folder> <program> [arguments...]\n", argv[0]);
        return 2;
    }
    StartupProbe probe(argv[1]);
    const StartupProbe::Result result =
        probe.run(std::vector<std::string>(argv + 3, argv + argc), argv[2], std::chrono::seconds(30));
    if (!result.ok) {
        std::fprintf(stderr, "%s: %s\n", argv[3], result.error.c_str());
        return 1;
    }
    std::printf("%.1f %.1f %ld\n", result.shownMs, result.paintedMs, result.maxRssKib);
    return 0;
}
