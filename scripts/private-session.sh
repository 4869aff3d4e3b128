#!/usr/bin/env bash
# Runs a command on a virtual display with a private session bus, an empty HOME and
# its own runtime folder, all removed afterwards; exits with the command's code.
#
#   scripts/private-session.sh WIDTHxHEIGHT COMMAND [ARG ...]
set -u
screen=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/run"
chmod 700 "$work/run"
HOME="$work/home" XDG_RUNTIME_DIR="$work/run" XDG_DATA_HOME='' XDG_CONFIG_HOME='' \
  xvfb-run -a -s "-screen 0 ${screen}x24" dbus-run-session -- "$@"
