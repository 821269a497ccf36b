#include "util/Generic.h"

#include <cstdio>

int main()
{
    std::puts(Generic::IntToCommas(1234567));
}
