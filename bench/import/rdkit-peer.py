"""Peer timing: RDKit's SD reader without sanitisation on the same SD file.

Usage: /usr/bin/python3 rdkit-peer.py FILE   (Debian's python3-rdkit)
"""
import os
import sys
import time

from rdkit import Chem, RDLogger

RDLogger.DisableLog("rdApp.*")
path = sys.argv[1]
start = time.perf_counter()
molecules = 0
atoms = 0
for molecule in Chem.ForwardSDMolSupplier(open(path, "rb"), sanitize=False, removeHs=False):
    if molecule is not None:
        molecules += 1
        atoms += molecule.GetNumAtoms()
seconds = time.perf_counter() - start
megabytes = os.path.getsize(path) / 1e6
print(f"rdkit sd read: {molecules} molecules ({atoms} atoms), {megabytes:.1f} MB in {seconds:.3f} s: "
      f"{molecules / seconds:.0f} molecules/s")
print(f"seconds={seconds}")
