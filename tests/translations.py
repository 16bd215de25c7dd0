#!/usr/bin/env python3
"""The translations are whole and in step with the sources: lupdate run over src/ changes no .ts file; no message
is unfinished or gone from the sources; every translation keeps its source's placeholders; and every text of
usertexts.h is looked up in the context it is marked in. Usage: translations.py LUPDATE REPO"""
import re, shutil, subprocess, sys, tempfile
import xml.etree.ElementTree as ET
from collections import Counter
from pathlib import Path

lupdate, repo = sys.argv[1], Path(sys.argv[2])
failures = []
for ts in sorted((repo / "translations").glob("korvane_*.ts")):
    language = ts.stem.removeprefix("korvane_")
    with tempfile.TemporaryDirectory() as scratch:
        copy = Path(scratch) / ts.name
        shutil.copy(ts, copy)
        subprocess.run([lupdate, "-silent", "-locations", "none", "-no-obsolete", "-source-language", "zh_CN",
                        "-target-language", language, str(repo / "src"), "-ts", str(copy)], check=True)
        if copy.read_bytes() != ts.read_bytes():
            failures.append(f"{ts.name}: not in step with the sources (run scripts/lupdate.sh)")
    for context in ET.parse(ts).getroot().iter("context"):
        for message in context.iter("message"):
            source, translation = message.findtext("source"), message.find("translation")
            where = f"{ts.name} {context.findtext('name')} {source!r}"
            if translation.get("type") in ("unfinished", "vanished", "obsolete") or not (translation.text or ""):
                failures.append(f"{where}: {translation.get('type') or 'empty'}")
            elif Counter(re.findall(r"%\d", source)) != Counter(re.findall(r"%\d", translation.text)):
                failures.append(f"{where}: placeholders {translation.text!r}")
texts = (repo / "src/gui/usertexts.h").read_text(encoding="utf-8")
for looked_up, marked in re.findall(r'\{"(\w+)", QT_TRANSLATE_NOOP\("(\w+)"', texts):
    if looked_up != marked:
        failures.append(f"usertexts.h: a text marked in {marked} is looked up in {looked_up}")
print("\n".join(failures) or "translations whole and in step")
sys.exit(1 if failures else 0)
