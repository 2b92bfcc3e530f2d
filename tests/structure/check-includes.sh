#!/bin/sh
# Copyright (c) 2026 The Tessra developers
# SPDX-License-Identifier: MIT
#
# The rooms that do work hold no widgets: nothing under insulation/,
# journal/, report/, sync/ or export/ includes a header of window/, a form
# (ui_*.h) or a header of Qt's widgets module. The chart library is the one
# widget they may use, in report/ and export/ only, where it draws charts on
# paper and into image files without ever being shown.
#   check-includes.sh SOURCE_DIR QT_WIDGETS_INCLUDE_DIR
set -eu
source_dir=$1
widgets_dir=$2
[ -d "$widgets_dir" ] || { echo "no Qt widgets headers in $widgets_dir" >&2; exit 2; }

# What one file includes that its room may not, a line each.
crossings() {
    room=$1
    file=$2
    grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]' "$file" |
        sed -E 's/^[^<"]*[<"]([^>"]+)[>"].*$/\1/' |
        while IFS= read -r header; do
            case "$header" in
            window/*) echo "$header, a header of the windows" ;;
            ui_*.h) echo "$header, a form" ;;
            QtWidgets/*) echo "$header, a widget header" ;;
            qcustomplot.h)
                case "$room" in
                report | export) ;;
                *) echo "$header, a widget outside report/ and export/" ;;
                esac
                ;;
            Q*) if [ -e "$widgets_dir/$header" ]; then echo "$header, a widget header"; fi ;;
            esac
        done
}

report=$(
    for room in insulation journal report sync export; do
        for file in "$source_dir/$room"/*.h "$source_dir/$room"/*.cpp; do
            [ -e "$file" ] || continue
            crossings "$room" "$file" | sed "s|^|${file#"$source_dir"/} includes |"
        done
    done
)
if [ -n "$report" ]; then
    echo "$report" >&2
    echo "$(echo "$report" | wc -l) includes cross from the rooms that do work into the windows" >&2
    exit 1
fi
echo "no room that does work includes a window or widget header"
