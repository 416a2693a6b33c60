#!/bin/sh
# Plot script, started by Zemo in its working directory once gplot/order.gnu and the data files
# are written: gnuplot draws gplot/output.png, which is then shown in an image viewer.
# Exit status: 0 the picture is drawn and a viewer was started (or none was wanted:
# ZEMO_PLOT_NO_VIEW=1, set by zemo-cli); 3 the picture is drawn but no viewer could be started;
# anything else: no picture, gnuplot's messages are on standard error and in gplot/gnuplot.log.
cd gplot || exit 1
rm -f output.png gnuplot.log
{
    # The twelve line types in the colours the Plot page's colour menu names, in menu order.
    cat <<'EOF'
set linetype 1 linecolor rgb "#f90000"
set linetype 2 linecolor rgb "#1df900"
set linetype 3 linecolor rgb "#0000f9"
set linetype 4 linecolor rgb "#72008f"
set linetype 5 linecolor rgb "#00f9f6"
set linetype 6 linecolor rgb "#8f5b00"
set linetype 7 linecolor rgb "#f0e400"
set linetype 8 linecolor rgb "#00008f"
set linetype 9 linecolor rgb "#f9b600"
set linetype 10 linecolor rgb "#008f00"
set linetype 11 linecolor rgb "#f900d3"
set linetype 12 linecolor rgb "#8f0000"
EOF
    # order.gnu ends each plot clause with its style and a bare line type ("with lines 2"), as
    # older gnuplot read it; gnuplot 5 wants the keyword ("with lines lt 2"). Only the end of a
    # clause is rewritten, after the closing quote of its title, so titles stay as typed; and
    # text is printed literally ("_" is no subscript), which "set terminal" would switch back.
    sed -E -e 's/" with (lines|linespoints|filledcurves) ([0-9]+)(, \\)?$/" with \1 lt \2\3/' \
        -e '/^set terminal /a set termoption noenhanced' order.gnu
} | gnuplot 2>gnuplot.log
drawn=$?
cat gnuplot.log >&2
if [ "$drawn" -ne 0 ] || [ ! -s output.png ]; then
    exit 1
fi
[ -n "$ZEMO_PLOT_NO_VIEW" ] && exit 0
[ -n "$DISPLAY" ] && command -v xdg-open >/dev/null 2>&1 || exit 3
# A viewer that cannot be started fails within moments; one that runs is left running and not
# waited for.
xdg-open output.png >/dev/null 2>&1 </dev/null &
viewer=$!
tries=0
while kill -0 "$viewer" 2>/dev/null; do
    tries=$((tries + 1))
    [ "$tries" -ge 20 ] && exit 0
    sleep 0.1
done
wait "$viewer" && exit 0
exit 3
