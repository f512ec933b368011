#pragma once

// The release family of the running Windows, or Wow64 when this 32-bit
// process runs on a 64-bit system. No row of the table yields 9.
enum PlatformCode : int {
    Win95 = 1,
    Win98 = 2,
    WinMe = 3,
    WinNT351 = 4,
    WinNT4 = 5,
    Win2000 = 6,
    WinXP = 7,
    WinServer2003 = 8,
    WinNT6 = 10,
    Wow64 = 11,
};

int ClassifyPlatform();
