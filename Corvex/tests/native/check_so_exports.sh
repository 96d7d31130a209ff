#!/bin/sh
# The shared library exports exactly the six functions, with C names.
got=$(nm -D --defined-only "$1" | awk '{print $3}' | sort | tr '\n' ' ')
want="InetMailMessageCountInFile InetMailMessageCountInFileEx InetMailMessageCountInFileOfKind Kelpo KelpoEx KelpoExWithFlags "
if [ "$got" = "$want" ]; then
  echo "exports: $got"
else
  echo "exports are: $got"
  echo "expected:    $want"
  exit 1
fi
