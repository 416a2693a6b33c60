// Reading TRC files (the tab-separated marker files of OpenSim and Motion Analysis) into layer data.
#pragma once

#include <string>
#include <string_view>

#include "engine/formats/read_error.h"
#include "engine/model/capture_model.h"

// Parses a whole TRC file held in memory; `name` is used in messages. Returns 0 and fills `out`,
// or 1 with the reason in `error` and `out` untouched.
int trc_parse(std::string_view text, const std::string& name, CaptureData& out, ReadError& error);
