#!/usr/bin/env bash
# Plants one include at a time in a small tree laid out like ours and
# expects scripts/check-layers.sh to pass the clean tree and fail each
# planted one, naming the file.
set -euo pipefail
repo="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

make_tree() {
  rm -rf "$work/tree"
  mkdir -p "$work/tree"/{scripts,cmake,include/kvt,platform/value,services,orders,apps/kvt-host/sessions,apps/kvt-host/desk}
  cd "$work/tree"
  cp "$repo/scripts/check-layers.sh" scripts/
  printf '%s\n' platform/value services orders classes apps/kvt-host/sessions apps/kvt-host/desk apps \
    >cmake/layers.txt
  printf '%s\n' '# installed' include/kvt/COrder.h platform/value/currency.h >cmake/host_headers.txt
  echo '#include "platform/value/currency.h"' >include/kvt/COrder.h
  echo '#pragma once' >platform/value/currency.h
  echo '#include "platform/value/currency.h"' >services/gateway.h
  echo '#include "services/gateway.h"' >orders/line.h
  echo '#include "kvt/COrder.h"' >apps/kvt-host/sessions/session.h
  printf '%s\n' '#include "apps/kvt-host/sessions/session.h"' '#include "platform/value/currency.h"' \
    >apps/kvt-host/desk/page.cpp
  git init -q .
}

# file | line appended | what the message must name
plants=(
  'apps/kvt-host/desk/page.cpp|#include "orders/line.h"|not installed for hosts'
  'apps/kvt-host/sessions/session.h|#include "services/gateway.h"|not installed for hosts'
  'include/kvt/COrder.h|#include "services/gateway.h"|installed for hosts, but includes'
  'apps/kvt-host/sessions/session.h|#include "apps/kvt-host/desk/page.h"|not below it'
  'services/gateway.h|#include "orders/line.h"|not below it'
)

make_tree
scripts/check-layers.sh >"$work/out" || { echo "FAIL: the clean tree fails:"; cat "$work/out"; exit 1; }

failed=0
for plant in "${plants[@]}"; do
  IFS='|' read -r file line expected <<<"$plant"
  make_tree
  echo "$line" >>"$file"
  if scripts/check-layers.sh >"$work/out"; then
    echo "FAIL: $file with $line passes"; failed=1
  elif ! grep -q "^$file:.*$expected" "$work/out"; then
    echo "FAIL: $file with $line fails without saying '$expected':"; cat "$work/out"; failed=1
  fi
done

# A listed header that is gone is a stale list.
make_tree
echo services/gone.h >>cmake/host_headers.txt
scripts/check-layers.sh >"$work/out" && { echo "FAIL: a missing listed header passes"; failed=1; }
exit $failed
