#!/usr/bin/env bash
# Builds Pylomir in Release, makes its Debian package and installs it.
# The package lands in build-release/ (pylomir_<version>_<arch>.deb).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/deps.sh" build package

cd "$root"
cmake --preset release >/dev/null
cmake --build --preset release
(cd build-release && cpack -G DEB)
deb=$(ls -t build-release/pylomir_*.deb | head -n 1)

sudo_cmd=()
[[ $(id -u) -ne 0 ]] && sudo_cmd=(sudo)
# apt, not dpkg: it installs the libraries the package depends on too.
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y "$root/$deb"
echo "Installed $deb: start Pylomir from the menu, or run pylomir / pylomir-cli."
