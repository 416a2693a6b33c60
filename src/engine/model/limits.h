// The limits of the capture tables and the values that mark a coordinate lost.
#pragma once

constexpr int MAX_LAYERS = 10;           // layer slots 1..10; slot 0 is never used
constexpr int MAX_CHANNELS = 1000;       // the most marks a layer holds; its tables grow to its own count
constexpr int MAX_BONES = 300;           // bones per layer
constexpr int MAX_COLUMNS = 3 * MAX_CHANNELS;
constexpr double LOST_THRESHOLD = 999998.0;  // a coordinate strictly above this is lost
constexpr double LOST_VALUE = 999999.0;      // what the program stores to mark a coordinate lost
constexpr int COLOUR_COUNT = 15;
constexpr int DEFAULT_MARK_COLOUR = 13;  // "Gris"
constexpr int COMMAND_CAPACITY = 256;    // external-program commands hold at most 255 characters

inline bool is_lost(double value) { return value > LOST_THRESHOLD; }
