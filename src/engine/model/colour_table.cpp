// The colour names are Spanish and are shown as they stand in every colour menu and list.
#include "engine/model/colour_table.h"

const ColourEntry ColourTable[COLOUR_COUNT] = {
    {"Rojo Oscuro", 143, 0, 0},
    {"Violeta Oscuro", 114, 0, 143},
    {"Azul Oscuro", 0, 0, 143},
    {"Celeste Oscuro", 0, 143, 141},
    {"Verde Oscuro", 0, 143, 0},
    {"Naranja Oscuro", 143, 91, 0},
    {"Rojo Claro", 249, 0, 0},
    {"Violeta Claro", 249, 0, 211},
    {"Azul Claro", 0, 0, 249},
    {"Celeste Claro", 0, 249, 246},
    {"Verde Claro", 29, 249, 0},
    {"Naranja Claro", 249, 182, 0},
    {"Blanco", 255, 255, 255},
    {"Gris", 158, 158, 158},
    {"Negro", 60, 60, 60},
};

const int colour_count = COLOUR_COUNT;

const ColourEntry& colour_or_grey(int index) {
    constexpr int GREY = 13;
    return index >= 0 && index < COLOUR_COUNT ? ColourTable[index] : ColourTable[GREY];
}
