#include "platform/path_compare.h"

#include "platform/text.h"

bool SamePathName(std::string_view first, std::string_view second)
{
    return AnsiUpperCase(first) == AnsiUpperCase(second);
}
