#!/usr/bin/env bash
# check-install.sh BUILD_DIR SOURCE_DIR VERSION BINDIR DATADIR PROGRAMS
# Runs `cmake --install` of BUILD_DIR into a temporary folder and checks the layout
# a package gets. PROGRAMS is "name=built-file," for every program target that exists.
# Ends with "N passed, N failed"; exits non-zero on any failure.
set -uo pipefail

build="$1"
source_dir="$2"
version="$3"
bindir="$4"
datadir="$5"
programs="$6"

passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() {
  failed=$((failed + 1))
  echo "FAIL: $*"
}
check() { # check DESCRIPTION COMMAND...
  local what="$1"
  shift
  if "$@"; then pass; else fail "${what}"; fi
}
finish() {
  echo "${passed} passed, ${failed} failed"
  [ "${failed}" -eq 0 ]
  exit $?
}

cache_value() { # the value of a variable in the build's CMakeCache.txt, or $2
  local value
  value="$(sed -n "s/^$1:[A-Z]*=//p" "${build}/CMakeCache.txt" | head -n 1)"
  echo "${value:-$2}"
}
under_prefix() { # under_prefix ROOT RELATIVE-OR-ABSOLUTE-DIR
  case "$2" in
    /*) echo "${dest}$2" ;;
    *) echo "$1/$2" ;;
  esac
}
png_size() { # "WIDTHxHEIGHT" from a PNG's header
  local -a b
  read -r -a b < <(od -An -tu1 -j16 -N8 "$1")
  echo "$(((b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3]))x$(((b[4] << 24) | (b[5] << 16) | (b[6] << 8) | b[7]))"
}

for tool in cmake desktop-file-validate appstreamcli od; do
  if ! command -v "${tool}" >/dev/null 2>&1; then
    fail "${tool} is not installed (scripts/deps.sh installs it)"
  fi
done
[ "${failed}" -eq 0 ] || finish

# Every program must be built before it can be installed.
IFS=',' read -r -a program_list <<<"${programs}"
program_names=()
for entry in "${program_list[@]}"; do
  [ -n "${entry}" ] || continue
  program_names+=("${entry%%=*}")
  if [ ! -x "${entry#*=}" ]; then
    fail "${entry%%=*} is not built (${entry#*=}); build every target before running this test"
  fi
done
[ "${failed}" -eq 0 ] || finish

tmp="$(mktemp -d "${TMPDIR:-/tmp}/quorvex-install-test.XXXXXX")"
trap 'rm -rf "${tmp}"' EXIT

# The install runs with both a prefix other than the configured one and DESTDIR:
# everything must land under DESTDIR + prefix, and nothing directly under the prefix.
dest="${tmp}/dest"
prefix="${tmp}/prefix"
root="${dest}${prefix}"
if ! DESTDIR="${dest}" cmake --install "${build}" --prefix "${prefix}" >"${tmp}/install.log" 2>&1; then
  cat "${tmp}/install.log"
  fail "cmake --install failed"
  finish
fi

# The udev rule's folder is the one place a package may configure outside the prefix.
udev_dir="$(under_prefix "${root}" "$(cache_value QUORVEX_UDEV_RULES_DIR lib/udev/rules.d)")"
check "files were written to the prefix without DESTDIR" test ! -e "${prefix}"
outside="$(find "${dest}" -mindepth 1 \( -type f -o -type l \) ! -path "${root}/*" ! -path "${udev_dir}/*")"
check "files were written outside the prefix: ${outside}" test -z "${outside}"
stray="$(sed -n 's/^-- \(Installing\|Up-to-date\): \([^ ]*\).*/\2/p' "${tmp}/install.log" |
  grep -vF -e "${root}/" -e "${udev_dir}/")"
check "install steps named paths outside the prefix: ${stray}" test -z "${stray}"

share="$(under_prefix "${root}" "${datadir}")"
app_id="org.quorvex.DeviceCenter"
desktop="${share}/applications/${app_id}.desktop"
metainfo="${share}/metainfo/${app_id}.metainfo.xml"

for program in "${program_names[@]}"; do
  check "program ${program} is not installed" test -x "$(under_prefix "${root}" "${bindir}")/${program}"
done
for file in "${desktop}" "${metainfo}" "${udev_dir}/70-quorvex.rules" \
  "${share}/quorvex/skin/res.xml" "${share}/quorvex/skin/lan_en.xml" \
  "${share}/quorvex/skin/lan_cn.xml"; do
  check "${file#"${root}"/} is not installed" test -s "${file}"
done
for file in "${source_dir}"/data/DefaultData/*; do
  check "DefaultData/${file##*/} is not installed" \
    cmp -s "${file}" "${share}/quorvex/DefaultData/${file##*/}"
done

# The icon the desktop entry names, in every size a theme looks up.
icon="$(sed -n 's/^Icon=//p' "${desktop}" 2>/dev/null)"
check "the desktop entry's icon is ${icon:-missing}, not ${app_id}" test "${icon}" = "${app_id}"
check "the scalable icon is not installed" test -s "${share}/icons/hicolor/scalable/apps/${icon}.svg"
for size in 16 32 48 64 128 256; do
  png="${share}/icons/hicolor/${size}x${size}/apps/${icon}.png"
  if [ -s "${png}" ]; then
    check "${png##*/hicolor/} is $(png_size "${png}")" test "$(png_size "${png}")" = "${size}x${size}"
  else
    fail "the ${size}x${size} icon is not installed"
  fi
done

# The desktop entry starts the installed application, and both files validate.
check "the desktop entry does not run quorvex" grep -qx 'Exec=quorvex' "${desktop}"
check "desktop-file-validate rejects the desktop entry" desktop-file-validate "${desktop}"
check "appstreamcli rejects the metainfo" appstreamcli validate --no-net --strict "${metainfo}"
check "appstreamcli rejects the installed tree" appstreamcli validate-tree --no-net --strict "${root}"
latest="$(grep -o '<release version="[^"]*"' "${metainfo}" | head -n 1)"
check "the newest release is ${latest}, not the project's ${version}" \
  test "${latest}" = "<release version=\"${version}\""

# Font links: each name points at its system face when that face exists, and is
# absent otherwise; Brakka has no system face.
fonts="${share}/quorvex/Font"
cjk="$(cache_value QUORVEX_FONT_CJK "")"
thai="$(cache_value QUORVEX_FONT_THAI "")"
for pair in "Simplified_Chinese.ttf=${cjk}" "NotoSansCJKtc-Regular.otf=${cjk}" \
  "NotoSansThai-Regular.ttf=${thai}"; do
  name="${pair%%=*}"
  face="${pair#*=}"
  if [ -n "${face}" ] && [ -e "${face}" ]; then
    check "Font/${name} does not link to ${face}" test "$(readlink "${fonts}/${name}")" = "${face}"
  else
    check "Font/${name} exists although ${face:-its face} does not" test ! -e "${fonts}/${name}" -a ! -L "${fonts}/${name}"
  fi
done
if [ ! -e "${source_dir}/data/Font/Brakka-Regular.otf" ]; then
  check "Font/Brakka-Regular.otf exists" test ! -e "${fonts}/Brakka-Regular.otf" -a ! -L "${fonts}/Brakka-Regular.otf"
fi

# The font step alone, with faces chosen at install time: a missing face is skipped
# without error, a second install re-points the link, and a real font file already
# installed under a name is kept.
mkdir -p "${tmp}/faces"
echo first >"${tmp}/faces/first.ttc"
echo second >"${tmp}/faces/second.ttc"
fonts2="$(under_prefix "${tmp}/dest2${tmp}/prefix2" "${datadir}")/quorvex/Font"
mkdir -p "${fonts2}"
echo shipped >"${fonts2}/NotoSansCJKtc-Regular.otf"
for face in first second; do
  if ! DESTDIR="${tmp}/dest2" cmake -DCMAKE_INSTALL_PREFIX="${tmp}/prefix2" \
    -DQUORVEX_FONT_CJK="${tmp}/faces/${face}.ttc" -DQUORVEX_FONT_THAI="${tmp}/faces/absent.ttf" \
    -P "${build}/data/cmake_install.cmake" >"${tmp}/fonts.log" 2>&1; then
    cat "${tmp}/fonts.log"
    fail "the font step failed with the ${face} face"
    continue
  fi
  check "Font/Simplified_Chinese.ttf does not follow the ${face} face" \
    test "$(readlink "${fonts2}/Simplified_Chinese.ttf")" = "${tmp}/faces/${face}.ttc"
done
check "a missing Thai face left Font/NotoSansThai-Regular.ttf behind" \
  test ! -e "${fonts2}/NotoSansThai-Regular.ttf" -a ! -L "${fonts2}/NotoSansThai-Regular.ttf"
check "an installed font file was replaced by a link" \
  test ! -L "${fonts2}/NotoSansCJKtc-Regular.otf" -a "$(cat "${fonts2}/NotoSansCJKtc-Regular.otf")" = shipped

finish
