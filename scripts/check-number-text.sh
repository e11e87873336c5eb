#!/usr/bin/env bash
# Fails when code outside platform/value/number_text.* turns numbers into
# text or back by a route that follows the C library's locale (a host's
# toolkit sets it from LANG, and then "1.5" prints as "1,5"), or bypasses
# the one module that wraps the locale-free routines.
#
#   scripts/check-number-text.sh
#
# Looks at the tracked and new C++ sources outside tests/. std::to_string
# stays allowed: the tree passes it integers only, which no locale changes;
# so do std::to_chars and std::from_chars, which ignore the locale.
set -euo pipefail
cd "$(dirname "$0")/.."

module='^platform/value/number_text\.(h|cpp)$'
checks=(
  # printf family, also for text only: one rule is easier to keep
  '\b(std::)?(v?s?n?printf|v?fprintf|v?asprintf|v?dprintf)[[:space:]]*\('
  # C parsing and the std::sto* family
  '\b(std::)?(strto(d|f|ld|l|ll|ul|ull|imax|umax)|ato(f|i|l|ll)|v?f?s?scanf)[[:space:]]*\('
  '\bstd::sto(i|l|ll|ul|ull|f|d|ld)[[:space:]]*\('
  # streams that format or parse numbers under a locale
  'stringstream|<sstream>|\bsetprecision\b|std::(fixed|scientific|hexfloat|showpoint)\b'
  '\bimbue[[:space:]]*\(|std::locale\b|\bsetlocale[[:space:]]*\('
  # Qt's own number conversions and its locale
  '\bQLocale\b|QString::number[[:space:]]*\(|\.(toDouble|toFloat|setNum)[[:space:]]*\('
)

mapfile -t files < <(git ls-files --cached --others --exclude-standard -- \
  '*.cpp' '*.h' '*.cc' '*.hpp' | grep -v '^tests/' | grep -Ev "$module" | sort -u)

# Only code counts: string literals (SQL has its own printf) and comments
# are blanked first, keeping the line numbers.
code() {
  sed -E -e 's/"([^"\\]|\\.)*"/""/g' -e 's@//.*$@@' "$1"
}

pattern=$(IFS='|'; echo "${checks[*]}")
found=0
for file in "${files[@]}"; do
  if hits=$(code "$file" | grep -nE "$pattern"); then
    sed "s@^@$file:@" <<<"$hits"
    found=1
  fi
done

if [ "$found" -ne 0 ]; then
  echo "check-number-text: numbers must go through platform/value/number_text.h" \
       "(PlainText, ZeroPadded, ReadPlainInteger, ReadPlainNumber) or the platform's" \
       "conversions; the uses above follow the C library's locale or bypass it." >&2
  exit 1
fi
echo "check-number-text: ${#files[@]} files, no locale-dependent number text"
