#!/usr/bin/env python3
"""Every relative link and anchor in the project's Markdown pages resolves.

Anchors are the ones GitHub makes from headings: lower case, punctuation
other than hyphens dropped, spaces turned into hyphens. Prints one line per
broken link and "N passed, N failed" (one check per page)."""
import pathlib
import re
import sys

root = pathlib.Path(__file__).resolve().parents[2]
pages = [root / "README.md", root / "CONTRIBUTING.md", *sorted((root / "docs").glob("*.md")), root / "bench/results.md"]


def anchors(page):
    text = re.sub(r"^    .*$", "", page.read_text(), flags=re.M)  # code blocks hold no headings
    return {re.sub(r"[^\w\- ]", "", h.strip().lower()).replace(" ", "-")
            for h in re.findall(r"^#+ (.*)$", text, flags=re.M)}


passed = failed = 0
for page in pages:
    broken = []
    for target in re.findall(r"\]\(([^)\s]+)\)", page.read_text()):
        if re.match(r"[a-z]+:", target):
            continue  # another site's address, not checked here
        path, _, anchor = target.partition("#")
        linked = (page.parent / path).resolve() if path else page
        if not linked.exists():
            broken.append(f"{target}: no such file")
        elif anchor and linked.suffix == ".md" and anchor not in anchors(linked):
            broken.append(f"{target}: no such heading in {linked.relative_to(root)}")
    for link in broken:
        print(f"FAIL  {page.relative_to(root)}: {link}")
    passed += not broken
    failed += bool(broken)
print(f"{passed} passed, {failed} failed")
sys.exit(1 if failed else 0)
