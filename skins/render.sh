#!/usr/bin/env bash
# Renders the SVG sources in src/ into the two skin folders (skin_EN/, skin_CN/) and
# the program's built-in pictures (../res/Velkor.ico, ../res/DefaultBg.bmp).
# The rendered files are committed, so only whoever changes the art runs this.
# Icons: one 32-bit image with alpha per .ico. Bitmaps: 24-bit BMP, no alpha.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
SRC="$HERE/src"
RES="$HERE/../res"

# The project's package installer (quiet when everything is present).
source "$HERE/../scripts/common.sh"
PACKAGES="librsvg2-bin imagemagick fonts-dejavu-core fonts-wqy-microhei"

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# svg SOURCE OUT.png [STYLESHEET] [@KEY@=VALUE ...]: fills in the placeholders of a
# source and renders it at its own size.
svg() {
    local source=$1 out=$2 css="" text pair
    shift 2
    if [ $# -gt 0 ] && [ "${1%.css}" != "$1" ]; then css=$1; shift; fi
    text=$(<"$SRC/$source")
    for pair in "$@"; do text=${text//"${pair%%=*}"/"${pair#*=}"}; done
    printf '%s\n' "$text" | rsvg-convert ${css:+-s "$SRC/$css"} -o "$out"
}

# to_ico IN.png OUT.ico, checking that the result holds exactly one 32-bit image.
to_ico() {
    convert "$1" "$2"
    local count bits
    count=$(od -An -tu2 -j4 -N2 "$2" | tr -d ' ')
    bits=$(od -An -tu2 -j12 -N2 "$2" | tr -d ' ')
    if [ "$count" != 1 ] || [ "$bits" != 32 ]; then
        echo "$2: $count image(s) of $bits bits, want one of 32" >&2
        exit 1
    fi
}

# to_bmp IN.png OUT.bmp: opaque 24-bit BMP (the program makes pattern brushes of them).
to_bmp() {
    convert "$1" -background black -alpha remove -alpha off -type TrueColor "BMP3:$2"
    local bits
    bits=$(od -An -tu2 -j28 -N2 "$2" | tr -d ' ')
    if [ "$bits" != 24 ]; then
        echo "$2: $bits bits per pixel, want 24" >&2
        exit 1
    fi
}

# mode_icon DIR NAME SOURCE LABEL LABEL_SIZE: the inactive (_0) and active (_1) icon of a mode.
mode_icon() {
    local dir=$1 name=$2 source=$3 state css
    for state in 0 1; do
        css=icon-inactive.css
        [ $state = 1 ] && css=icon-active.css
        svg "$source" "$WORK/$name.png" "$css" "@LABEL@=$4" "@LABEL_SIZE@=$5"
        to_ico "$WORK/$name.png" "$dir/${name}_$state.ico"
    done
}

# power_picture DIR LEVEL FILE LIGHT DARK WORD: one popup picture, its level's bars lit.
power_picture() {
    local dir=$1 level=$2 file=$3 bar2=0.3 bar3=0.3
    [ "$level" -ge 2 ] && bar2=1
    [ "$level" -ge 3 ] && bar3=1
    svg power-level.svg "$WORK/$file.png" "@LEVEL@=$level" "@LIGHT@=$4" "@DARK@=$5" \
        "@WORD@=$6" "@BAR2@=$bar2" "@BAR3@=$bar3"
    to_bmp "$WORK/$file.png" "$dir/$file.bmp"
}

# render_skin LANG TITLE TAGLINE TRACKING MODES POWER_WORD LABEL_SIZE
#             ON RAINBOW BREATH COLORLOOP AUTO GAUGE
# TRACKING is the letter spacing of the small lines, LABEL_SIZE the icon labels' size;
# the last six are the icon labels.
render_skin() {
    local dir="$HERE/skin_$1" word=$6 size=$7
    mkdir -p "$dir"
    svg background.svg "$WORK/bg.png" "@TITLE@=$2" "@TAGLINE@=$3" "@TRACKING@=$4" "@MODES@=$5"
    to_bmp "$WORK/bg.png" "$dir/0_BG.bmp"
    mode_icon "$dir" 01_On mode-on.svg "$8" "$size"
    mode_icon "$dir" 05_RainBow mode-rainbow.svg "$9" "$size"
    mode_icon "$dir" 03_Breath mode-breath.svg "${10}" "$size"
    mode_icon "$dir" 04_ColorLoop mode-colorloop.svg "${11}" "$size"
    mode_icon "$dir" 06_Auto mode-auto.svg "${12}" "$size"
    # The hidden Static button has a single image: drawn lit.
    svg power-gauge.svg "$WORK/gauge.png" icon-active.css "@LABEL@=${13}" "@LABEL_SIZE@=$size"
    to_ico "$WORK/gauge.png" "$dir/02_Static_0.ico"
    svg window-exit.svg "$WORK/exit.png"
    to_ico "$WORK/exit.png" "$dir/06_Exit.ico"
    svg window-min.svg "$WORK/min.png"
    to_ico "$WORK/min.png" "$dir/07_Min.ico"
    power_picture "$dir" 1 Perf_P1_Blue "#3d8bff" "#0d2f80" "$word"
    power_picture "$dir" 2 Perf_P2_Green "#34d058" "#0a5222" "$word"
    power_picture "$dir" 3 Perf_P3_Red "#ff5252" "#7a1016" "$word"
    echo "rendered $dir"
}

ensure_packages
render_skin EN "Velkor" "RGB KEYBOARD LIGHT CONTROL" 2.5 "LIGHTING MODE" "POWER LEVEL" 11 \
    "On" "RainBow" "Breath" "ColorLoop" "Auto" "Power"
render_skin CN "键盘灯光控制" "VELKOR · RGB 键盘背光" 1.5 "灯光模式" "性能模式" 13 \
    "常亮" "彩虹" "呼吸" "循环" "自动" "性能"

svg app-icon.svg "$WORK/app.png"
to_ico "$WORK/app.png" "$RES/Velkor.ico"
svg default-background.svg "$WORK/default-bg.png"
to_bmp "$WORK/default-bg.png" "$RES/DefaultBg.bmp"
echo "rendered $RES/Velkor.ico and $RES/DefaultBg.bmp"
