# Shared by run.sh and test.sh: install what is missing, then build.
# Sourced, not run.

QUORVANE_PACKAGES=(cmake g++ make pkg-config qtbase5-dev qtbase5-dev-tools libqt5serialport5-dev dpkg-dev file qttools5-dev qttools5-dev-tools)
# Only the tests need these: the package's program is started on a virtual X
# server, and the Ansible modules' example playbook is run by ansible-playbook.
QUORVANE_TEST_PACKAGES=(xvfb xauth ansible-core)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

ensure_packages() {
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "== installing: ${missing[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
    fi
}

# build_tree DIR [cmake options...]
build_tree() {
    local dir=$1
    shift
    echo "== building in $dir"
    cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j2
}
