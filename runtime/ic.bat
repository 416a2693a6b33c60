#!/bin/sh
# Start-up script, run by Zemo each time it starts, in the folder Zemo writes to (the program's
# own folder when run from the build folder): prepares it. Harmless to run any number of times.
mkdir -p gplot
