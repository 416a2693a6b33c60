// Why reading a capture failed, as every format's parser reports it.
#pragma once

#include <string>

// An empty text means a failure the reader reports without a message box.
struct ReadError {
    std::string text;
};
