#!/usr/bin/env bash
# Installs what building, testing and running KvtSuppliers need on Debian 12.
# Safe to run again: packages already present are not fetched.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libsqlite3-dev sqlite3
  libpq-dev postgresql
  qt6-base-dev
  poppler-utils fonts-liberation fonts-droid-fallback
  libmuparser-dev
  cups printer-driver-cups-pdf
  clang libclang-rt-14-dev clang-format
  locales
  xvfb
  libcpp-httplib-dev nlohmann-json3-dev libssl-dev openssl
  chromium nodejs
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" \
    || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# The dock page's browser test drives Chromium with puppeteer-core from npm
# (scripts/dock-test.sh installs it); Debian's nodejs comes without npm.
if ! command -v npm >/dev/null 2>&1; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq npm >/dev/null
fi

# The tests run a second time under a comma-decimal locale (scripts/test.sh
# --locale de_DE.UTF-8), which Debian ships only as source: generate it.
if ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'; then
  echo "setup: generating the de_DE.UTF-8 locale"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO sed -i 's/^# *\(de_DE\.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  $SUDO locale-gen --keep-existing >/dev/null
fi
