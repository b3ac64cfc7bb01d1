# Installs, through apt, whatever the build and the tests need and this
# machine lacks. Sourced by run.sh and test.sh.
nakama_packages="build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools
 libqt6printsupport6 libgl-dev libxkbcommon-dev libicu-dev fonts-ipafont-mincho poppler-utils"
# The compiler cache, and clang with its runtime for the fuzz targets.
nakama_packages="$nakama_packages ccache clang libclang-rt-14-dev"
# Qt's own texts in Japanese.
nakama_packages="$nakama_packages qt6-translations-l10n"
# Spreadsheet workbooks, and the independent reader their tests check them with.
nakama_packages="$nakama_packages libxlsxwriter-dev python3-openpyxl"
# The printer spooler's own interface, to ask whether a queue takes jobs.
nakama_packages="$nakama_packages libcups2-dev"
# Only for test.sh's desktop tests: a CUPS queue printing to PDF, Xvfb with
# fcitx5 and Mozc typed into by xdotool, the .deb (dpkg-dev).
nakama_desktop_test_packages="cups cups-client printer-driver-cups-pdf xvfb xdotool dbus-daemon
 fcitx5 fcitx5-mozc fcitx5-frontend-qt6 dpkg-dev desktop-file-utils appstream"

nakama_install_deps() {
    local missing=""
    for p in $nakama_packages; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
}
