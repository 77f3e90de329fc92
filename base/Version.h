#pragma once
// The version of the programs, from the one place it is set (the project
// line of the top CMakeLists.txt; the build writes its definition).
extern const char kTessarionVersion[];
