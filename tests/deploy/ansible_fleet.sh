#!/usr/bin/env bash
# Runs the example playbook with the netconfig role against 20 emulated
# hosts on this machine, ten at a time, and reads the hosts back.
# usage: ansible_fleet.sh BIN_DIR SOURCE_DIR WORK_DIR
# Exit 77 (skipped) when NETCONFIG_ANSIBLE_TESTS=0 or without ansible-playbook.
set -euo pipefail

bin="$1" src="$2" work="$3"
if [ "${NETCONFIG_ANSIBLE_TESTS:-1}" = 0 ]; then
  echo "skipped: NETCONFIG_ANSIBLE_TESTS=0"
  exit 77
fi
if ! command -v ansible-playbook >/dev/null; then
  echo "skipped: no ansible-playbook (Debian package ansible-core)"
  exit 77
fi

rm -rf "$work"
mkdir -p "$work/hosts" "$work/shown"
cd "$work"
export XDG_STATE_HOME="$work/state" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export ANSIBLE_CONFIG="$work/ansible.cfg" ANSIBLE_NOCOLOR=1 ANSIBLE_FORCE_COLOR=0

cat >ansible.cfg <<EOF
[defaults]
forks = 10
local_tmp = $work/ansible-local
remote_tmp = $work/ansible-remote
async_dir = $work/ansible-async
interpreter_python = auto_silent
retry_files_enabled = false
# The default (1 ms) keeps the controller spinning on a busy machine.
internal_poll_interval = 0.01
# As with ansible-core alone: the role needs no collection here.
collections_scan_sys_path = false
[connection]
pipelining = true
EOF

fail() {
  echo "FAIL: $*"
  exit 1
}

hosts=()
for i in $(seq 1 20); do
  hosts+=("$(printf 'pc%02d' "$i")")
done
broken=pc13
good=()
for h in "${hosts[@]}"; do [ "$h" = $broken ] || good+=("$h"); done

# pc13 gets a file of its own, with a mask Windows refuses.
sed 's/^mask=255.255.255.0$/mask=255.0.255.0/' "$src/deploy/ansible/templates/office.ini.j2" >broken.ini.j2
# What a later run would change: a third DNS server everywhere.
sed 's/^DNS=10.20.0.2;10.20.0.3;$/DNS=10.20.0.2;10.20.0.3;10.20.0.4;/' \
  "$src/deploy/ansible/templates/office.ini.j2" >next.ini.j2
grep -q '^DNS=10.20.0.2;10.20.0.3;10.20.0.4;$' next.ini.j2 || fail "the example template changed; adapt the test"
grep -q '^mask=255.0.255.0$' broken.ini.j2 || fail "the example template changed; adapt the test"

{
  echo "[netconfig]"
  for i in $(seq 1 20); do
    h=${hosts[$((i - 1))]}
    "$bin/winhost" init "hosts/$h" >/dev/null
    extra=""
    [ "$h" = "$broken" ] && extra=" netconfig_settings_template=$work/broken.ini.j2"
    # Applied with /keep in the last run, when only pc02 is confirmed.
    [ "$h" = pc01 ] && extra=" netconfig_confirm=false"
    echo "$h office_address=10.20.0.$((10 + i)) netconfig_winsys_root=$work/hosts/$h$extra"
  done
  echo "[netconfig:vars]"
  echo "ansible_connection=local"
  echo "netconfig_executable=$bin/netconfig"
  echo "netconfig_settings_template=office.ini.j2"
} >inventory.ini

show_all() { # show_all TAG: every host as winhost shows it, to shown/TAG.HOST
  for h in "${hosts[@]}"; do "$bin/winhost" show "hosts/$h" >"shown/$1.$h"; done
}
same_hosts() { # same_hosts A B: no host differs between the two showings
  for h in "${hosts[@]}"; do
    diff -u "shown/$1.$h" "shown/$2.$h" || fail "$h changed between $1 and $2"
  done
}
playbook() { # playbook LOG [ansible-playbook arguments]; its exit code goes to LOG.rc
  local log="$1"
  shift
  echo "== ansible-playbook $* (at ${SECONDS} s)"
  set +e
  ansible-playbook -i inventory.ini "$src/deploy/ansible/site.yml" "$@" >"$log" 2>&1
  echo $? >"$log.rc"
  set -e
  sed -n '/^PLAY RECAP/,$p' "$log"
}
recap() { # recap LOG HOST: the host's counts, as "ok=.. changed=.. ... failed=.."
  grep -E "^$2 +:" "$1" | sed 's/^[^:]*: *//' | tr -s ' '
}
count() { # count LOG HOST NAME: one count of the host's recap
  recap "$1" "$2" | tr ' ' '\n' | sed -n "s/^$3=//p"
}
expect_rc() {
  [ "$(cat "$1.rc")" = "$2" ] || { cat "$1"; fail "$1: ansible-playbook exited $(cat "$1.rc"), not $2"; }
}

show_all initial

# 1. Apply, with a report of each host's configuration.
playbook apply.log -e netconfig_report_dir="$work/reports"
expect_rc apply.log 2
for h in "${good[@]}"; do
  [ "$(count apply.log "$h" failed)" = 0 ] || { cat apply.log; fail "$h failed"; }
  n=$((10#${h#pc} + 10))
  shown=$("$bin/winhost" show "hosts/$h")
  for want in "IP Address . . . . . . . . . . . . : 10.20.0.$n" \
    "Default Gateway . . . . . . . . . : 10.20.0.1" \
    "DNS Servers . . . . . . . . . . . : 10.20.0.2" \
    "                                         10.20.0.3" \
    "Pending Computer Name . . . . . . : ${h^^}" \
    "Workgroup . . . . . . . . . . . . : OFFICE"; do
    grep -qF "$want" <<<"$shown" || fail "$h lacks \"$want\":"$'\n'"$shown"
  done
  grep -qx "protocol=10.20.0.$n" "reports/$h.ini" || fail "no report from $h, or a wrong one"
done
[ "$(count apply.log $broken failed)" = 1 ] || fail "$broken did not fail"
grep -A3 "^fatal: \[$broken\]" apply.log | grep -q 'Subnet mask 255.0.255.0 is not valid' ||
  { cat apply.log; fail "$broken failed without netconfig's message"; }
[ "$(grep -c '^fatal: ' apply.log)" = 1 ] || fail "another host failed"
diff -u shown/initial.$broken <("$bin/winhost" show hosts/$broken) || fail "$broken was changed"
[ ! -e reports/$broken.ini ] || fail "a report from $broken, which failed"
show_all applied

# 2. Nothing left to do.
playbook again.log
expect_rc again.log 2
for h in "${hosts[@]}"; do
  [ "$(count again.log "$h" changed)" = 0 ] || { cat again.log; fail "$h changed on the second run"; }
done
show_all again
same_hosts applied again

# 3. Check mode shows the plan and changes nothing.
playbook check.log --check --diff -e netconfig_settings_template="$work/next.ini.j2"
expect_rc check.log 0
for h in "${hosts[@]}"; do
  [ "$(count check.log "$h" changed)" = 1 ] || { cat check.log; fail "$h: no change planned"; }
done
[ "$(grep -c '^netsh.exe interface ip add dns 11 addr=10.20.0.4$' check.log)" = 20 ] ||
  { cat check.log; fail "the diff does not show each host's plan"; }
show_all checked
same_hosts again checked

# 4. Applied with /keep: pc02 is confirmed over a second connection and
# keeps the change; pc01 is not, so it reverts and fails with netconfig's message.
playbook keep.log --limit pc01,pc02 -e netconfig_settings_template="$work/next.ini.j2" -e netconfig_keep=20
expect_rc keep.log 2
grep -A3 '^fatal: \[pc01\]' keep.log | grep -q 'No confirmation came in time' ||
  { cat keep.log; fail "pc01 failed without netconfig's message"; }
diff -u shown/again.pc01 <("$bin/winhost" show hosts/pc01) || fail "pc01 did not revert"
[ "$(count keep.log pc02 failed)" = 0 ] || { cat keep.log; fail "pc02 was not confirmed"; }
"$bin/winhost" show hosts/pc02 | grep -qF "                                         10.20.0.4" ||
  fail "pc02 lost the confirmed change"
echo "PASS in ${SECONDS} s"
