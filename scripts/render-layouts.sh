#!/usr/bin/env bash
# Renders page 1 of every layout (both purchase orders and the four
# vouchers) to PNG so anyone can look at them without a printer: once
# filled with made-up data, and once with data made to break them (amounts
# of up to 15 digits, words longer than any box, wide characters), under
# OUT_DIR/hostile.
#
#   scripts/render-layouts.sh [OUT_DIR] [LINES]
#
# Builds only kvt-render-sample, in the checkout's usual build tree
# (build/, or $KVT_BUILD_DIR), so it reuses what is already compiled there.
# Needs poppler-utils (pdftoppm).
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
build_dir="${KVT_BUILD_DIR:-$root/build}"
out_dir="${1:-$build_dir/layouts}"
lines="${2:-40}"

if [ -z "${KVT_BUILD_DIR:-}" ]; then
  "$root/scripts/build.sh" release kvt-render-sample >/dev/null
else
  cmake --build "$build_dir" --target kvt-render-sample -j2 >/dev/null
fi

export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
for variant in "$lines" hostile; do
  dir="$out_dir"
  [ "$variant" = hostile ] && dir="$out_dir/hostile"
  mkdir -p "$dir"
  QT_QPA_PLATFORM=offscreen "$build_dir/frontends/qt/report/kvt-render-sample" \
    "$dir" "$variant" --reprint
  for layout in rptPurchaseOrder rptPurchaseOrderNG rptGoodsReceived \
      rptGoodsReceivedNG rptGoodsReturned rptGoodsReturnedNG; do
    pdftoppm -r 100 -f 1 -l 1 -singlefile -png "$dir/$layout.pdf" "$dir/$layout-page1"
    echo "$dir/$layout-page1.png"
  done
done
