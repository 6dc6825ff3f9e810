# Shared by the repository's scripts: the Debian packages each needs, and their installation.

# To build the viewer and its tests, and to run it from the build (Qt's TGA reader, for a texture's
# source, is in qt6-image-formats-plugins).
BUILD_PACKAGES=(cmake ninja-build g++ help2man qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins
    qt6-image-formats-plugins libgl-dev libjpeg62-turbo-dev fonts-dejavu-core)
# To validate the desktop entry, the MIME types and the AppStream data in the tests, to measure the
# thumbnailer's peak memory, and to write the sources a texture is compared with (ImageMagick).
TEST_PACKAGES=(desktop-file-utils appstream shared-mime-info time imagemagick)
# To show the viewer on a machine without a display, and to drive it there for the README's picture.
HEADLESS_PACKAGES=(xvfb xauth imagemagick)
SCREENSHOT_PACKAGES=(xdotool)
# To make the Debian package (cpack's DEB generator reads the libraries linked with dpkg-shlibdeps).
PACKAGE_PACKAGES=(dpkg-dev file)
# The end-to-end tests of the installed program: on a virtual X server under a window manager, driven
# through XTest, its window's pixels read there (ImageMagick's import); on a Wayland compositor (weston)
# through Qt's Wayland platform plugin; and the thumbnail service (tumbler) on a private session bus.
E2E_PACKAGES=(xvfb openbox xdotool x11-utils imagemagick weston qt6-wayland tumbler dbus-daemon
    "${PACKAGE_PACKAGES[@]}")
# What the benchmark (bench/) runs under and compares with: a virtual X server with a window manager,
# keys sent through XTest, feh beside the viewer, djpeg beside the thumbnail pages.
BENCH_PACKAGES=(xvfb openbox x11-utils libxtst6 feh libjpeg-turbo-progs)

apt_updated=0

# Installs whichever of the given packages are missing (needs root; runs apt-get update once).
need_packages() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
    done
    ((${#missing[@]} == 0)) && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "These Debian packages are missing: ${missing[*]}. Install them, or run this as root." >&2
        exit 1
    fi
    if ((apt_updated == 0)); then
        apt-get update -qq
        apt_updated=1
    fi
    echo "Installing ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}
