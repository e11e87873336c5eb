#!/usr/bin/env bash
# Renders page 1 of every layout (both purchase orders and the four
# vouchers), filled with made-up data, to PNG so anyone can look at them
# without a printer.
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

mkdir -p "$out_dir"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -u)}"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
QT_QPA_PLATFORM=offscreen "$build_dir/frontends/qt/report/kvt-render-sample" \
  "$out_dir" "$lines" --reprint
for layout in rptPurchaseOrder rptPurchaseOrderNG rptGoodsReceived \
    rptGoodsReceivedNG rptGoodsReturned rptGoodsReturnedNG; do
  pdftoppm -r 100 -f 1 -l 1 -singlefile -png "$out_dir/$layout.pdf" \
    "$out_dir/$layout-page1"
  echo "$out_dir/$layout-page1.png"
done
