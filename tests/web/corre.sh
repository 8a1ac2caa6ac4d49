#!/usr/bin/env bash
# Runs one of the page's test files with Node's test runner. Exit 77 (skipped) when Node, Chromium
# or puppeteer-core is missing, saying which and how to get it; a missing page is a failure.
set -u
here=$(cd "$(dirname "$0")" && pwd)
command -v node >/dev/null || { echo "SKIP: node is missing (make web-deps installs it)"; exit 77; }
chromium=${CORVANI_CHROMIUM:-/usr/bin/chromium}
[ -x "$chromium" ] || { echo "SKIP: $chromium is missing (make web-test-deps installs chromium)"; exit 77; }
[ -d "$here/node_modules/puppeteer-core" ] || {
  echo "SKIP: puppeteer-core is missing in $here/node_modules (make web-test-deps runs npm ci)"; exit 77; }
[ -f "${CORVANI_PAGINA:-}" ] || { echo "FAIL: no page at ${CORVANI_PAGINA:-(CORVANI_PAGINA unset)}: run make web"; exit 1; }
export CORVANI_CHROMIUM=$chromium
exec node --test "$@"
