# Makes sure apt can fetch Debian source packages (a deb-src entry for this suite).
# Sourced, not run, by the scripts that build libraries for mingw from Debian's sources.
ensure_deb_src() {
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  local suite
  suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  if ! grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    echo "setup: adding a deb-src entry for $suite"
    $sudo tee /etc/apt/sources.list.d/scrivane-deb-src.sources >/dev/null <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $suite
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    $sudo apt-get update -qq
  fi
}

# Downloads and unpacks the source package $1 into the folder $2/src.
fetch_deb_source() {
  ensure_deb_src
  ( cd "$2" && apt-get source --download-only -qq "$1" >/dev/null 2>&1 \
    && dpkg-source -x --no-check ./"$1"_*.dsc src >/dev/null )
}
