#!/usr/bin/env bash
# scripts/test's own promises, on a copy of it in a scratch checkout whose
# setup always fails: a failed stage does not stop the next one, the summary
# gives each stage's result, the status says one failed, and an unknown stage
# is refused before anything runs.
# usage: test_stages.sh <source dir>
set -euo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

mkdir -p "$work/scripts"
cp "$source_dir/scripts/test" "$work/scripts/test"
cp "$source_dir/.clang-format" "$work/"
printf '#!/bin/sh\necho "setup fails here on purpose" >&2\nexit 1\n' >"$work/scripts/setup"
chmod +x "$work/scripts/setup"
printf 'int main() { return 0; }\n' >"$work/main.cpp"
git -C "$work" init -q
git -C "$work" add -A
git -C "$work" -c user.name=test -c user.email=test@example.invalid commit -qm scratch

status=0
out=$("$work/scripts/test" --stage dev --stage style 2>&1) || status=$?
[ "$status" -eq 1 ] || fail "status $status with a failed stage: $out"
summary=$(sed -n '/^=== summary$/,$p' <<<"$out")
grep -qE '^dev +FAILED \(status 1\) +[0-9]+ s$' <<<"$summary" || fail "no failed dev line in: $summary"
grep -qE '^style +passed +[0-9]+ s$' <<<"$summary" || fail "style did not run after dev failed: $summary"

status=0
out=$("$work/scripts/test" --stage nosuch 2>&1) || status=$?
[ "$status" -eq 2 ] || fail "status $status for an unknown stage: $out"
[[ $out != *"=== stage"* ]] || fail "a stage ran before the unknown one was refused: $out"
echo "scripts/test: goes on past a failed stage, sums up each, refuses an unknown one"
