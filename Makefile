# Set-up, build, run and test on Debian 12 or 13: `make run` and `make test` do everything.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
# What the build and the tests need from Debian; only what is missing is installed.
# qt6-base-private-dev and strace serve the tests of the real executable's exits and I/O.
PACKAGES := cmake g++ make qt6-base-dev qt6-base-private-dev libgtest-dev fonts-dejavu-core fonts-liberation2 strace
# desktop-file-utils and appstream validate the desktop entry and metainfo in the install tests,
# libxml2-utils (xmllint) the SVG icon, and man-db (man --warnings) the manual page.
PACKAGES += desktop-file-utils appstream libxml2-utils man-db
# Window managers and X's own tools for the test of the window on small screens (tests/ui/screens.sh).
PACKAGES += openbox x11-utils
# A private X server, session bus and AT-SPI registry for the screen-reader check (tests/ui/atspi_check.sh).
PACKAGES += xvfb dbus at-spi2-core python3-pyatspi gir1.2-atspi-2.0
# dbus-launch, which libdbus runs to start a session bus where none is: tests/ui/leftovers.sh checks
# that the program, started without one, does not let it.
PACKAGES += dbus-x11
# The browser page is built with emscripten and tested in Debian's Chromium, Firefox ESR and
# WebKitGTK (its WebDriver, which runs MiniBrowser on a private X server), driven from node. node
# and npm are installed only where the commands are missing: a node from elsewhere may stand in
# for Debian's.
WEB_PACKAGES := emscripten $(if $(shell command -v node),,nodejs) $(if $(shell command -v npm),,npm)
WEB_TEST_PACKAGES := $(WEB_PACKAGES) chromium firefox-esr webkit2gtk-driver xvfb
# poppler-utils' pdftocairo turns the page printed to PDF into pixels for the printing test.
WEB_TEST_PACKAGES += poppler-utils
# Orca and what it speaks through, for the screen-reader test (tests/ui/orca_check.sh), which is
# skipped, saying so, where they are missing.
READER_PACKAGES := orca speech-dispatcher speech-dispatcher-espeak-ng espeak-ng locales xdotool

.PHONY: deps test-deps configure build run test stress-asan clean web web-deps web-test-deps

# As root apt-get runs as it is, otherwise through sudo. A user without sudo (a Debian installed
# with a root password) is told what is missing and the one command to run as root, and make stops.
deps:
	@missing=$$(for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	missing=$$(echo $$missing); \
	[ -n "$$missing" ] || exit 0; \
	if [ "$$(id -u)" = 0 ]; then sudo=; \
	elif command -v sudo >/dev/null; then sudo=sudo; \
	else \
	  echo "Missing Debian packages: $$missing"; \
	  echo "There is no sudo here: install them as root, then run make again:"; \
	  echo "  su -c 'apt-get update && apt-get install --no-install-recommends $$missing'"; \
	  exit 1; \
	fi; \
	echo "Installing: $$missing"; \
	$$sudo apt-get update -qq && \
	DEBIAN_FRONTEND=noninteractive $$sudo apt-get install -y -qq --no-install-recommends $$missing

# The browser page, build-web/corvani.html, optimised for size. em++ finds the JavaScript parser it
# needs in Debian's module folder, where a node from elsewhere does not look.
WEB_BUILD ?= build-web
export NODE_PATH := $(if $(NODE_PATH),$(NODE_PATH):)/usr/share/nodejs
web-deps:
	@$(MAKE) --no-print-directory deps PACKAGES="$(WEB_PACKAGES)"

web: web-deps
	emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=MinSizeRel
	cmake --build $(WEB_BUILD) -j $(JOBS)
	@echo "The page: $(CURDIR)/$(WEB_BUILD)/corvani.html ($$(stat -c %s $(WEB_BUILD)/corvani.html) bytes)"

# What the page's tests drive: Debian's browsers, and puppeteer-core at the version the lock file
# pins, installed again only when the lock file changes.
WEB_TEST_MODULES := tests/web/node_modules/.package-lock.json
web-test-deps:
	@$(MAKE) --no-print-directory deps PACKAGES="$(WEB_TEST_PACKAGES)"
	@$(MAKE) --no-print-directory $(WEB_TEST_MODULES)
$(WEB_TEST_MODULES): tests/web/package-lock.json tests/web/package.json
	cd tests/web && npm ci --no-audit --no-fund
	touch $@

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DCORVANI_WEB_BUILD=$(CURDIR)/$(WEB_BUILD)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/ui/corvani

# Everything the tests need, in one set-up, so that a user without sudo is given one command.
test-deps:
	@$(MAKE) --no-print-directory deps PACKAGES="$(sort $(PACKAGES) $(WEB_TEST_PACKAGES) $(READER_PACKAGES))"

# Headless: Qt's offscreen platform, and a private runtime directory so nothing touches the user's.
# The page and what drives it come first, for the tests labelled "web".
test: test-deps
	@$(MAKE) --no-print-directory web web-test-deps build
	@runtime=$$(mktemp -d); \
	XDG_RUNTIME_DIR=$$runtime QT_QPA_PLATFORM=offscreen \
	  ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS); status=$$?; \
	rm -rf $$runtime; exit $$status

# The randomized tests at full size and the exits, under AddressSanitizer and UBSan, in their own
# build; only what those tests run is built. The leak checker is on: neither the program nor Qt
# leaves anything behind, so it needs no suppressions.
ASAN_BUILD ?= build-asan
stress-asan: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DCORVANI_SANITIZE=ON
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target corvani_model_stress corvani_ui_stress corvani corvani_pilot
	@runtime=$$(mktemp -d); \
	XDG_RUNTIME_DIR=$$runtime QT_QPA_PLATFORM=offscreen \
	ASAN_OPTIONS=detect_leaks=1 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -L 'stress|exits' -j $(JOBS); status=$$?; \
	rm -rf $$runtime; exit $$status

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(WEB_BUILD)

# The Debian package and the benchmarks, each in an optimised build folder of its own.
# `make package` leaves corvani_<version>_<arch>.deb in $(RELEASE_BUILD), built with Debian's
# standard flags (dpkg-buildflags, every hardening feature on; build type None adds nothing to
# them), then checks it: lintian, and the executable's hardening (tests/install/hardening.sh).
# dpkg-dev and file are what CPack needs to declare the package's library dependencies.
# One set-up installs them with the build's packages, so a user without sudo is given one command.
RELEASE_BUILD ?= build-release
BENCH_BUILD ?= build-bench
PACKAGE_TOOLS := dpkg-dev file lintian binutils
.PHONY: package bench bench-web
package:
	@$(MAKE) --no-print-directory deps PACKAGES="$(PACKAGES) $(PACKAGE_TOOLS)"
	@eval "$$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"; set -x; \
	cmake -S . -B $(RELEASE_BUILD) -DCMAKE_BUILD_TYPE=None -DBUILD_TESTING=OFF \
	  "-DCMAKE_CXX_FLAGS=$$CPPFLAGS $$CXXFLAGS" "-DCMAKE_EXE_LINKER_FLAGS=$$LDFLAGS" \
	  -DCMAKE_STRIP=$(CURDIR)/cmake/debian-strip
	cmake --build $(RELEASE_BUILD) -j $(JOBS)
	cd $(RELEASE_BUILD) && cpack -G DEB
	bash tests/install/package_check.sh $(RELEASE_BUILD)/corvani_*.deb

# Prints start-up, click and memory figures, judges those with goals and exits 0 when every judged
# goal is met; the others are printed with the reason they are not judged.
# BENCH_ARGS can set --runs N (fresh processes per window) and --clicks N (per kind of click).
bench: deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DCORVANI_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target corvani-bench
	@runtime=$$(mktemp -d); \
	XDG_RUNTIME_DIR=$$runtime QT_QPA_PLATFORM=offscreen:configfile=$(CURDIR)/tests/offscreen.json \
	  $(BENCH_BUILD)/tests/bench/corvani-bench $(BENCH_ARGS); \
	status=$$?; rm -rf $$runtime; exit $$status

# A fresh Debian 12 and 13 each, made with debootstrap, where a clone of HEAD runs `make test`
# and `make package` as a newcomer's would (tests/compat/debian.sh; as root; not part of `make test`).
.PHONY: check-debian
check-debian:
	@$(MAKE) --no-print-directory deps PACKAGES="debootstrap"
	@status=0; for release in bookworm trixie; do bash tests/compat/debian.sh $$release || status=1; done; \
	exit $$status

# The browser page's figures against their goals, in headless Chromium: the page's size, the
# first frame of the bench, clicks at device pixel ratios 1 and 3, and the JavaScript heap after
# random clicks (tests/bench/pagina.js). BENCH_WEB_ARGS can set --loads N, --clicks N (per kind
# and ratio) and --random N. Fails if a goal is missed.
bench-web: web web-test-deps
	node tests/bench/pagina.js $(WEB_BUILD)/corvani.html $(BENCH_WEB_ARGS)

# The pictures in the README and the teachers' guide, doc/img/*.png: the page in headless Chromium
# after each picture's actions (doc/captures.js). They are committed; run this when the bench's
# look changes, and look at them before committing.
.PHONY: captures
captures: web web-test-deps configure
	cmake --build $(BUILD) -j $(JOBS) --target corvani-passos
	CORVANI_PASSOS=$(BUILD)/tests/web/corvani-passos node doc/captures.js $(WEB_BUILD)/corvani.html doc/img
