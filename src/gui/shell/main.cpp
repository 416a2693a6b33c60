// The desktop program: everything lives in the application library.
#include "app/startup.h"

int main(int argc, char** argv) { return zemo_main(argc, argv); }
