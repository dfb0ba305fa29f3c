#!/usr/bin/env bash
# The short fuzz run of ./test.sh: every target for 20 s from its seeds.
exec "$(dirname "$0")/../tools/fuzz.sh" 20
