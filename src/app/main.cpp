#include "app/startup.h"
#include "build_stamp_now.h"

int main(int argc, char** argv) {
    return sdelka::runSdelka(argc, argv, {SDELKA_BUILD_DATE, SDELKA_BUILD_TIME});
}
