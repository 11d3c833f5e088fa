#!/usr/bin/python3
"""Reads SQL statements, one a line, and parses each as T-SQL with sqlglot (Debian's
python3-sqlglot). A statement that does not parse, or that uses what SQL Server does not know
(LIMIT, FOR UPDATE, ILIKE, RETURNING, NULLS FIRST/LAST) although sqlglot reads it, is printed
with the reason; the exit status is then 1. Prints how many distinct statements were read."""
import re
import sys

import sqlglot
from sqlglot import exp
from sqlglot.errors import ParseError

NOT_TSQL = [(exp.Lock, "FOR UPDATE"), (exp.ILike, "ILIKE")]
# Words sqlglot 10.6 passes over in its T-SQL dialect although SQL Server refuses them (its
# TOP is a Limit node too, so LIMIT is looked for as a word).
NOT_TSQL_WORDS = ["LIMIT", "RETURNING", "NULLS FIRST", "NULLS LAST"]
# What a statement is; sqlglot also reads a bare expression ("SELEC x") as one.
STATEMENTS = (exp.Select, exp.Union, exp.Insert, exp.Update, exp.Delete)


def problem(statement):
    try:
        trees = sqlglot.parse(statement, read="tsql")
    except ParseError as error:
        return str(error).splitlines()[0]
    if len([t for t in trees if t is not None]) != 1:
        return "not one statement"
    for tree in trees:
        if not isinstance(tree, STATEMENTS):
            return "not a statement"
        for kind, name in NOT_TSQL:
            if tree.find(kind) is not None:
                return name + " is not T-SQL"
    words = " " + " ".join(re.split(r"\W+", outside_quotes(statement).upper())) + " "
    for word in NOT_TSQL_WORDS:
        if " " + word + " " in words:
            return word + " is not T-SQL"
    return None


def outside_quotes(statement):
    """The statement with every quoted literal emptied."""
    parts = statement.split("'")
    return "''".join(parts[0::2])


def main():
    seen = set()
    failed = 0
    for line in sys.stdin:
        statement = line.strip()
        if not statement or statement in seen:
            continue
        seen.add(statement)
        reason = problem(statement)
        if reason:
            failed += 1
            print("NOT T-SQL: %s\n    %s" % (reason, statement))
    print("%d statements, %d not T-SQL" % (len(seen), failed))
    return 1 if failed or not seen else 0


if __name__ == "__main__":
    sys.exit(main())
