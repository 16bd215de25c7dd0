#!/usr/bin/env bash
# Brings translations/*.ts up to date with the texts marked in src/ (new ones are left for a translator to fill
# in, unfinished; ones gone from the sources are dropped). The test of the translations fails until this has run.
set -euo pipefail
cd "$(dirname "$0")/.."
for ts in translations/korvane_*.ts; do
    language=$(basename "$ts" .ts)
    language=${language#korvane_}
    /usr/lib/qt6/bin/lupdate -silent -locations none -no-obsolete -source-language zh_CN -target-language "$language" \
        src -ts "$ts"
done
