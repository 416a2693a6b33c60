// Why reading a capture failed, as every format's parser reports it.
#pragma once

#include <string>

// An empty text means an IDF header cut short, which opening a file reports quietly.
struct ReadError {
    std::string text;
};
