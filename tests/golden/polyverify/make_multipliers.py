#!/usr/bin/env python3
"""Writes GF(2^k) multipliers as gate netlists in the .alg language.

A Mastrovito multiplier: partial products a_i AND b_j, XOR trees that sum
them by degree, then the reduction of degrees k..2k-2 through the powers of
alpha. Each gate is one polynomial (AND: g + x*y, XOR: g + x + y); the
word-level specification is Z + A*B with Z, A, B tied to their bits.
Variables are declared in reverse topological order: Z and its bits, the
gates from the outputs towards the inputs, A, B, then the input bits.

  make_multipliers.py K MINPOLY_EXPONENTS [BUG] > file.alg
  BUG: and-for-xor (the first reduction XOR becomes an AND) or
       drop-product (partial product a0*b(k-1) is left out).
"""
import sys


def alpha_powers(k, low):
    """Bit sets of alpha^m reduced, m = 0..2k-2; low = exponents of m below k."""
    powers = []
    v = 1
    for _ in range(2 * k - 1):
        powers.append(v)
        v <<= 1
        if v >> k & 1:
            v ^= 1 << k
            for e in low:
                v ^= 1 << e
    return powers


def main():
    k = int(sys.argv[1])
    exps = [int(e) for e in sys.argv[2].split(",")]
    bug = sys.argv[3] if len(sys.argv) > 3 else ""
    low = [e for e in exps if e < k]
    gates = []  # (output, op, in1, in2) in topological order
    count = [0]

    def gate(op, x, y, name=None):
        if name is None:
            count[0] += 1
            name = "g%d" % count[0]
        gates.append((name, op, x, y))
        return name

    def xor_tree(signals, name=None):
        acc = signals[0]
        for i, s in enumerate(signals[1:]):
            last = i == len(signals) - 2
            acc = gate("xor", acc, s, name if last else None)
        return acc

    sums = []
    for m in range(2 * k - 1):
        prods = []
        for i in range(k):
            j = m - i
            if 0 <= j < k:
                if bug == "drop-product" and i == 0 and j == k - 1:
                    continue
                prods.append(gate("and", "a%d" % i, "b%d" % j))
        sums.append(xor_tree(prods) if prods else None)

    powers = alpha_powers(k, low)
    first_reduction = True
    for i in range(k):
        terms = [sums[m] for m in range(2 * k - 1)
                 if powers[m] >> i & 1 and sums[m] is not None]
        if len(terms) == 1:
            gates.append(("z%d" % i, "buf", terms[0], None))
            continue
        acc = terms[0]
        for n, s in enumerate(terms[1:]):
            last = n == len(terms) - 2
            op = "xor"
            if bug == "and-for-xor" and first_reduction:
                op = "and"
                first_reduction = False
            acc = gate(op, acc, s, "z%d" % i if last else None)

    zbits = ["z%d" % i for i in range(k)]
    outputs = set(zbits)
    inner = [g[0] for g in reversed(gates) if g[0] not in outputs]
    abits = ["a%d" % i for i in range(k)]
    bbits = ["b%d" % i for i in range(k)]
    order = ["Z"] + list(reversed(zbits)) + inner + ["A", "B"] + abits + bbits

    def word(name, bits):
        parts = [name, bits[0]]
        for i, b in enumerate(bits[1:], start=1):
            parts.append(("X*%s" if i == 1 else "X^%d*%%s" % i) % b)
        return " + ".join(parts)

    minpoly = " + ".join("X^%d" % e if e > 1 else ("X" if e == 1 else "1")
                         for e in sorted(exps, reverse=True))
    title = "GF(2^%d) multiplier" % k + (", bug: " + bug if bug else "")
    print("// %s" % title)
    print(", ".join(order) + ";")
    print(", ".join(abits + bbits) + ";")
    print(minpoly + ";")
    print("Z + A*B;")
    polys = [word("Z", zbits)]
    for out, op, x, y in reversed(gates):
        if op == "and":
            polys.append("%s + %s*%s" % (out, x, y))
        elif op == "xor":
            polys.append("%s + %s + %s" % (out, x, y))
        else:
            polys.append("%s + %s" % (out, x))
    polys.append(word("A", abits))
    polys.append(word("B", bbits))
    print(",\n".join(polys) + ";")


main()
