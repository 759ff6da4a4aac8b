#!/usr/bin/python3
# search_parity.py OURS.chm THEIRS.chm HEXWORD...: searches each word (given as hex bytes in
# the help's code page) with python3-chm in both files, as a prefix search and as a whole
# word, and prints every word whose pages differ. Exit status 1 when any differs.
import sys

import chm.chm as chm


def pages(path, word, whole):
    f = chm.CHMFile()
    if not f.LoadCHM(path):
        sys.exit("cannot open " + path)
    if not f.IsSearchable():
        sys.exit("no search index in " + path)
    found, hits = f.Search(word, whole)
    f.CloseCHM()
    return sorted(set(hits.values())) if found else []


ours, theirs = sys.argv[1], sys.argv[2]
differ = 0
for hexword in sys.argv[3:]:
    word = bytes.fromhex(hexword)
    for whole in (0, 1):
        a, b = pages(ours, word, whole), pages(theirs, word, whole)
        if a != b:
            differ += 1
            print("%s whole=%d: ours %s, theirs %s" % (hexword, whole, a, b))
print("%d words compared, %d differ" % (len(sys.argv) - 3, differ))
sys.exit(1 if differ else 0)
