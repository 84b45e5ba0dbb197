#!/usr/bin/env bash
# vemtra-svc.exe under Wine against the real service manager: a create,
# show, start, list, stop and delete round trip with the test service,
# checking each exit code and comparing what the program writes, byte for
# byte, with the expected GBK text (the output is a file here, not a
# console, so the ANSI bytes pass unchanged).
#   svc_cli_roundtrip.sh VEMTRA_SVC_EXE TESTSVC_EXE
# Runs in the Wine session named by VEMTRA_WINE_SESSION.
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 VEMTRA_SVC_EXE TESTSVC_EXE" >&2; exit 2; }
svc=$1
testsvc_path='Z:'$(printf '%s' "$2" | tr / '\\')
wine_run=$(cd "$(dirname "$0")/../.." && pwd)/tools/wine-run
work=$(mktemp -d)
name="VemtraCli$$"
failures=0

cleanup() {
  "$wine_run" "$svc" stop "$name" >/dev/null 2>&1 || true
  "$wine_run" "$svc" delete "$name" >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# run EXPECTED_EXIT ARGS...: runs vemtra-svc, output in $work/out and $work/err
run() {
  local expected=$1
  shift
  local code=0
  "$wine_run" "$svc" "$@" >"$work/out" 2>"$work/err" || code=$?
  [ "$code" -eq "$expected" ] || fail "vemtra-svc $*: exit $code, expected $expected; stderr: $(iconv -f GBK -t UTF-8 "$work/err")"
}

# expect FILE TEXT: FILE holds exactly TEXT (UTF-8 here) in GBK
expect() {
  printf '%s' "$2" | iconv -f UTF-8 -t GBK >"$work/expected"
  if ! cmp -s "$work/expected" "$work/$1"; then
    fail "unexpected $1 bytes"
    diff <(od -c "$work/expected") <(od -c "$work/$1") | head -20 >&2 || true
  fi
}

# wait_for_state TEXT: polls `state` until it prints TEXT (at most 10 s)
wait_for_state() {
  for _ in $(seq 50); do
    run 0 state "$name"
    printf '%s' "$1" | iconv -f UTF-8 -t GBK >"$work/expected"
    cmp -s "$work/expected" "$work/out" && return 0
    sleep 0.2
  done
  fail "state of $name never became $1"
}

run 0 create "$name" "测试服务CLI" "\"$testsvc_path\" --stop-delay=200" --description "命令行测试"
expect out "已创建服务: $name
"

run 0 show "$name"
expect out "服务名        $name
显示名称      测试服务CLI
描述          命令行测试
进程ID        0
程序路径      \"$testsvc_path\" --stop-delay=200
启动类型      手动
状态          已停止
登录账户      本地系统
服务类型      16
启动类型代码  3
"
expect err ""

run 0 start "$name"
expect out "启动请求已接受: $name
"
wait_for_state "正运行 (4)
"

run 0 list --all --pid
iconv -f GBK -t UTF-8 "$work/out" >"$work/list.utf8"
head -n 1 "$work/list.utf8" | grep -Eq '^服务名 +状态 +启动类型 +登录账户 +进程ID +显示名称$' || fail "list header"
grep -Eq "^$name +正运行 +手动 +本地系统 +[1-9][0-9]* +测试服务CLI\$" "$work/list.utf8" || fail "list line of $name"
listed=$(tail -n 1 "$work/list.utf8" | sed -n 's/^共 \([0-9]*\) 个服务$/\1/p')
# The rows between the header and the total match the total, and in the GBK
# bytes the second column starts at the same byte in every line.
head -n -1 "$work/out" >"$work/table"
[ "$(($(wc -l <"$work/table") - 1))" -eq "${listed:-0}" ] || fail "list total ${listed:-none} does not match its rows"
LC_ALL=C awk '
  { line[NR] = $0; if (length($1) > width) width = length($1) }
  END {
    for (i = 1; i <= NR; i++)
      if (substr(line[i], width + 1, 2) != "  " || substr(line[i], width + 3, 1) == " ") exit 1
  }' "$work/table" || fail "list columns are not aligned"
# count agrees with the listing (tried again if another program changed the
# services in between)
for _ in 1 2 3; do
  run 0 count
  [ "$(cat "$work/out")" = "$listed" ] && break
  run 0 list --all
  listed=$(($(wc -l <"$work/out") - 2))
done
expect out "$listed
"

run 0 stop "$name"
expect out "停止请求已接受: $name
"
wait_for_state "已停止 (1)
"
run 1 stop "$name"
expect out ""
expect err "vemtra-svc: 停止 $name 失败 (错误 1062)
"

run 0 delete "$name"
expect out "删除请求已接受: $name
"
run 1 state "$name"
expect err "vemtra-svc: 读不到 $name 的状态 (错误 1060)
"

run 2 frobnicate
expect out ""
run 1 set "$name" --start-type 1
run 2 set "$name" --start-type x

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "vemtra-svc round trip passed"
