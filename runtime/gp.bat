#!/bin/sh
# Plot script, started by Zemo in its working directory once gplot/order.gnu and the data files
# are written: gnuplot draws gplot/output.png, which is then shown when a viewer is at hand.
# ZEMO_PLOT_NO_VIEW=1 (set by zemo-cli) only writes the picture.
cd gplot || exit 1
rm -f output.png
# order.gnu gives each curve's line type as a bare number after its style ("with lines 2"), as
# older gnuplot read it; gnuplot 5 wants the keyword: "with lines lt 2".
sed -E 's/ with (lines|linespoints|filledcurves) ([0-9]+)/ with \1 lt \2/' order.gnu | gnuplot || exit 1
if [ -z "$ZEMO_PLOT_NO_VIEW" ] && [ -n "$DISPLAY" ] && command -v xdg-open >/dev/null 2>&1; then
    xdg-open output.png >/dev/null 2>&1 &
fi
exit 0
