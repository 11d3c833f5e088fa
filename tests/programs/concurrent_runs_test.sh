#!/usr/bin/env bash
# Two users at once: runs of one statement for two periods, started together in pairs, each
# print their own period's statement; never rows of the other.
source "$(dirname "$0")/demo_suite.sh"
source "$(dirname "$0")/concurrent_pairs.sh"
accept_regional_settings
Check_Pairs "$company"
echo "concurrent runs: all passed"
