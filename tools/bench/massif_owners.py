#!/usr/bin/env python3
"""Who holds the heap of a batch run near its end, from a massif profile.

    valgrind --tool=massif --threshold=0.01 --depth=60 --detailed-freq=2 \
        --max-snapshots=60 --massif-out-file=OUT \
        build/tav-scale-bench --measure-batch SCENE DOCUMENTS PROGRAM_FOLDER
    tools/bench/massif_owners.py OUT

Takes the last detailed snapshot taken while the command-line tool still
ran and sums its live bytes by owner: allocated under a host call (the
simulated host's state, grown by the run), by the scene loader or the host's
construction (the fixture), by the tool itself (under runCommandLine and no
host call), or elsewhere. Prints the tool's larger allocation sites too.
"""
import re
import sys

NODE = re.compile(r"^(\s*)n(\d+): (\d+) (.*)$")


def snapshots(path):
    lines = open(path, encoding="utf-8").read().split("\n")
    found, current = [], None
    i = 0
    while i < len(lines):
        line = lines[i]
        if line.startswith("snapshot="):
            current = {"number": int(line.split("=")[1]), "tree": []}
            found.append(current)
        elif line.startswith("mem_heap_B=") and current is not None:
            current["heap"] = int(line.split("=")[1])
        elif current is not None and NODE.match(line):
            match = NODE.match(line)
            current["tree"].append(
                (len(match.group(1)), int(match.group(2)), int(match.group(3)), match.group(4)))
        i += 1
    return found


def owner(path):
    if "runCommandLine" in path:
        return "host, grown by the run" if "tav::sim::" in path else "tool"
    if "loadScene" in path or "SimHost::SimHost" in path:
        return "scene and host (fixture)"
    return "elsewhere"


def main():
    during = [s for s in snapshots(sys.argv[1])
              if any("runCommandLine" in node[3] for node in s["tree"])
              and not any("SimInspector::" in node[3] for node in s["tree"])]
    if not during:
        sys.exit("no detailed snapshot taken while the tool ran")
    last = during[-1]
    sums, sites, stack = {}, [], []
    for depth, children, size, description in last["tree"]:
        stack = stack[:depth] + [description]
        if children == 0:
            who = owner(" | ".join(stack))
            sums[who] = sums.get(who, 0) + size
            if who == "tool" and size >= 16384:
                sites.append((size, stack[1][:100]))
    print(f"snapshot {last['number']}: {last['heap']} bytes of heap")
    for who, size in sorted(sums.items()):
        print(f"  {who:28} {size:>12}")
    for size, site in sorted(sites, reverse=True):
        print(f"    tool: {size:>10}  {site}")


if __name__ == "__main__":
    main()
