#!/bin/bash
# Includes go down the floors only. Each core folder lists the folders it may
# include besides itself; a Qt folder (<area>/ui) may use the whole core and
# platform/ui. Prints every include that goes elsewhere and fails if any does.
src="${1:-$(dirname "$0")/../src}"
declare -A allowed=(
  [model]=""
  [bms]="model"
  [session]="model bms"
  [edit]="model bms session"
  [view]="model bms session"
  [analysis]="model bms session"
  [formats]="model bms"
  [audio]="model bms session analysis"
  [app]="model bms session view"
)
status=0
for area in "${!allowed[@]}"; do
  [ -d "$src/$area" ] || continue
  while IFS= read -r hit; do
    target=${hit#*#include \"}
    target=${target%%/*}
    [ "$target" = "$area" ] && continue
    case " ${allowed[$area]} " in *" $target "*) continue ;; esac
    echo "$hit"
    status=1
  done < <(grep -rn --include='*.h' --include='*.cpp' '#include "' "$src/$area" | grep -v "^$src/$area/ui/")
done
# A Qt folder uses the core and platform/ui but never another area's Qt
# folder (TMain in app/ui is where controllers meet); the view's Qt half also
# keeps to the view's floor, like its core.
for dir in "$src"/*/ui/; do
  area=$(basename "$(dirname "$dir")")
  [ "$area" = app ] && continue
  while IFS= read -r hit; do
    target=${hit#*#include \"}
    target=${target%%\"*}
    top=${target%%/*}
    case "$target" in
      "$area"/* | platform/ui/*) ;;
      */ui/*) echo "$hit"; status=1; continue ;;
    esac
    if [ "$area" = view ] && [ "$top" != view ] && [ "$top" != platform ]; then
      case " ${allowed[view]} " in *" $top "*) ;; *) echo "$hit"; status=1 ;; esac
    fi
  done < <(grep -rn --include='*.h' --include='*.cpp' '#include "' "$dir")
done
for dir in "$src"/*/; do
  area=$(basename "$dir")
  [ -n "${allowed[$area]+x}" ] || [ "$area" = platform ] || { echo "unknown core folder: $area"; status=1; }
done
exit $status
