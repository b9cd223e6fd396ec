# Sourced by demo.sh and test.sh: makes sure the Debian packages the build needs
# are installed (installs them when running as root, else says what to run).
TESSARC_PACKAGES="cmake make g++ pkg-config libcairo2-dev libgtest-dev libbenchmark-dev fonts-dejavu-core"

tessarc_missing_packages() {
    local missing="" p
    for p in $TESSARC_PACKAGES; do
        if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
            missing="$missing $p"
        fi
    done
    echo "$missing"
}

tessarc_setup() {
    local missing
    missing=$(tessarc_missing_packages)
    [ -z "$missing" ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing:$missing"
        export DEBIAN_FRONTEND=noninteractive
        apt-get update -q && apt-get install -y -q --no-install-recommends $missing
    else
        echo "Missing packages:$missing" >&2
        echo "Install them with:  sudo apt-get install -y$missing" >&2
        return 1
    fi
}

# Sets py to Debian's Python (where Debian's matplotlib is), installing
# matplotlib as root or saying how to when it is missing.
tessarc_python_for_plots() {
    py=/usr/bin/python3
    [ -x "$py" ] || py=python3
    "$py" -c "import matplotlib" 2>/dev/null && return 0
    if [ "$(id -u)" = 0 ]; then apt-get install -y python3-matplotlib >/dev/null
    else echo "run: apt-get install -y python3-matplotlib" >&2; return 1; fi
}
