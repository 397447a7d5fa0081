#pragma once

#include "calendar/LunarInfo.h"
#include "calendar/PackedDate.h"

inline constexpr int kFirstLunarYear = 1902;
inline constexpr int kLastLunarYear = 2099;

// Fills `record` for the date and hour in `date` (bits 28-31 ignored) and returns 0, or returns -1 and leaves the
// record alone when the year is outside 1902-2099. Month, day, stem, branch and zodiac fields are assigned; the
// four flags of b are only ORed in and an index field is written only with its flag, so the caller hands in a
// record whose flags are clear. No state of its own: callable from any thread.
int ComputeLunarInfo(LunarInfo* record, PackedDate date);
