#!/usr/bin/env bash
# Runs the HTML validator tidy over every page of an exported web site and prints the
# warnings and errors per page and in total. Usage: tools/web-export-tidy.sh SITE_FOLDER
set -euo pipefail
site=${1:?usage: $0 SITE_FOLDER}
command -v tidy >/dev/null || { echo "tidy is not installed (tools/install-deps.sh)"; exit 2; }
warnings=0
errors=0
while IFS= read -r -d '' page; do
  w=$(tidy -q -e -utf8 "$page" 2>&1 | grep -c ' - Warning: ' || true)
  e=$(tidy -q -e -utf8 "$page" 2>&1 | grep -c ' - Error: ' || true)
  warnings=$((warnings + w))
  errors=$((errors + e))
  printf '%5d warnings %3d errors  %s\n' "$w" "$e" "${page#"$site"/}"
done < <(find "$site" -type f \( -iname '*.htm' -o -iname '*.html' \) -print0 | sort -z)
echo "total: $warnings warnings, $errors errors"
