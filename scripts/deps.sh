#!/usr/bin/env bash
# Installs the Debian packages the build and the checks need, when missing.
# Usage: deps.sh [GROUP...]; without a group, all of them.
#   build    compile, test and run the program (gcc, Qt, zlib, GoogleTest, help2man)
#   package  the install's checks and the .deb (desktop and AppStream validators,
#            bash-completion, dpkg-dev, lintian)
#   fuzz     clang with libFuzzer, for the sanitizer build
#   format   clang-format, for the formatting check
#   windows  the MinGW-w64 compiler and the headers, for the Windows syntax check
#   screenshots  a virtual X display, xdotool and ImageMagick, for screenshots.sh
#   icons    rsvg-convert, for render-icons.sh
set -euo pipefail

groups=("$@")
((${#groups[@]})) || groups=(build package fuzz format windows)

packages=()
for g in "${groups[@]}"; do
    case "$g" in
    build) packages+=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-multimedia-dev zlib1g-dev
                      libgtest-dev qt6-qpa-plugins qt6-translations-l10n help2man) ;;
    package) packages+=(desktop-file-utils appstream bash-completion dpkg-dev file lintian) ;;
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    format) packages+=(clang-format) ;;
    windows) packages+=(g++-mingw-w64-x86-64-posix pkg-config qt6-base-dev zlib1g-dev) ;;
    screenshots) packages+=(xvfb xdotool imagemagick) ;;
    icons) packages+=(librsvg2-bin) ;;
    *) echo "deps.sh: unknown group '$g'" >&2; exit 2 ;;
    esac
done

missing=()
for p in $(printf '%s\n' "${packages[@]}" | sort -u); do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    sudo_cmd=()
    [[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
    "${sudo_cmd[@]}" apt-get update -qq
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
