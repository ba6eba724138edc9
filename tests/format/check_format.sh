#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what the project's .clang-format makes of it.
# Usage: check_format.sh <clang-format> <project folder>
set -euo pipefail
cd "$2"
git ls-files -z '*.cpp' '*.h' | xargs -0 "$1" --dry-run --Werror
echo "every C++ file follows .clang-format"
