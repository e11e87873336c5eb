#!/usr/bin/env bash
# Fails when an #include runs up the layer order of cmake/layers.txt, or
# across to a sibling layer; when a file under apps/ includes anything but
# apps/ and the headers installed for hosts (cmake/host_headers.txt); or
# when an installed header includes one that is not installed. Tests,
# benchmarks and examples may include anything.
set -euo pipefail
cd "$(dirname "$0")/.."

git ls-files -co --exclude-standard -- '*.h' '*.cpp' |
  grep -Ev '^(tests|bench|examples|build[^/]*)/' |
  awk -v layers=cmake/layers.txt -v face=cmake/host_headers.txt '
    BEGIN {
      rank = 0
      while ((getline line < layers) > 0) {
        if (line ~ /^#/ || line ~ /^[[:space:]]*$/) continue
        n = split(line, names, /[[:space:]]+/)
        for (i = 1; i <= n; ++i) if (names[i] != "") layer_rank[names[i]] = rank
        ++rank
      }
      while ((getline line < face) > 0)
        if (line ~ /^[a-z]/) installed[line] = 1
    }
    # The layer a path lies in: the longest layer name that prefixes it.
    function layer_of(path,    name, best) {
      if (index(path, "kvt/") == 1 || index(path, "include/kvt/") == 1) return "classes"
      best = ""
      for (name in layer_rank)
        if (index(path, name "/") == 1 && length(name) > length(best)) best = name
      return best
    }
    # The repository path of an included header.
    function repo_path(target) { return index(target, "kvt/") == 1 ? "include/" target : target }
    {
      file = $0
      from = layer_of(file)
      if (from == "") { print file ": lies in no layer of " layers; bad = 1; next }
      host = index(file, "apps/") == 1
      line_no = 0
      while ((getline text < file) > 0) {
        ++line_no
        if (text !~ /^[[:space:]]*#[[:space:]]*include[[:space:]]*"/) continue
        target = text
        sub(/^[^"]*"/, "", target); sub(/".*$/, "", target)
        if (host && index(target, "apps/") != 1 && !(repo_path(target) in installed)) {
          print file ":" line_no ": the host includes " target ", which is not installed for hosts (" face ")"
          bad = 1
          continue
        }
        if ((file in installed) && !(repo_path(target) in installed)) {
          print file ":" line_no ": installed for hosts, but includes " target ", which is not (" face ")"
          bad = 1
        }
        to = layer_of(target)
        if (to == "") { print file ":" line_no ": includes " target " from no layer"; bad = 1; continue }
        if (to == from) continue
        if (layer_rank[to] >= layer_rank[from]) {
          print file ":" line_no ": " from " includes " target " (" to "), which is not below it"
          bad = 1
        }
      }
      close(file)
    }
    END {
      for (header in installed)
        if ((getline text < header) < 0) { print face ": lists " header ", which does not exist"; bad = 1 }
      exit bad
    }
  '
