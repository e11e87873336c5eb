#!/usr/bin/env bash
# Renders page 1 of each purchase-order layout, filled with made-up data, to
# PNG so anyone can look at them without a printer.
#
#   scripts/render-layouts.sh [OUT_DIR] [LINES]
#
# Builds kvt-render-sample in build-render (or $KVT_BUILD_DIR) if needed.
# Needs poppler-utils (pdftoppm).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
out_dir="${1:-$root/build-render/layouts}"
lines="${2:-40}"
build_dir="${KVT_BUILD_DIR:-$root/build-render}"

if [ ! -f "$build_dir/build.ninja" ]; then
  cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DKVT_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build_dir" --target kvt-render-sample -j2 >/dev/null

mkdir -p "$out_dir"
QT_QPA_PLATFORM=offscreen "$build_dir/frontends/qt/report/kvt-render-sample" \
  "$out_dir" "$lines" --reprint
for layout in rptPurchaseOrder rptPurchaseOrderNG; do
  pdftoppm -r 100 -f 1 -l 1 -singlefile -png "$out_dir/$layout.pdf" \
    "$out_dir/$layout-page1"
  echo "$out_dir/$layout-page1.png"
done
