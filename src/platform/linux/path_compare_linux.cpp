#include "platform/path_compare.h"

bool SamePathName(std::string_view first, std::string_view second) { return first == second; }
