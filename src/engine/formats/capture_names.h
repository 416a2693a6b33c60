// Mark names for labels that come from other systems' files, made safe for an IDF header.
#pragma once

#include <string>
#include <vector>

// One name per label, in order: surrounding blanks removed, every byte that is not visible
// ASCII replaced by "_", an empty label named M001, M002 ... by its position, a leading "0"
// preceded by "M" (an IDF line that begins with "0" is a data line), and a name met before
// followed by "~2", "~3" ... so that every mark can be told apart.
std::vector<std::string> capture_names(const std::vector<std::string>& labels);
