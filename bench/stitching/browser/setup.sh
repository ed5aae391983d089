#!/usr/bin/env bash
# Installs what the real-browser level of the scrolling-capture harness reads:
# a browser and Debian's documentation packages, whose pages it scrolls.
set -euo pipefail
packages=(chromium python3-doc cmake-doc debian-reference-en postgresql-doc-15 sqlite3-doc git-doc
    xdotool)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
    apt-get install -y --no-install-recommends -o DPkg::Lock::Timeout=900 "${missing[@]}"
fi
