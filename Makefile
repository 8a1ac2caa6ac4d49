# Set-up, build, run and test on Debian 12: `make run` and `make test` do everything.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
# What the build and the tests need from Debian; only what is missing is installed.
# qt6-base-private-dev and strace serve the tests of the real executable's exits and I/O.
PACKAGES := cmake g++ make qt6-base-dev qt6-base-private-dev libgtest-dev fonts-dejavu-core fonts-liberation2 strace
# desktop-file-utils and appstream validate the desktop entry and metainfo in the install tests,
# libxml2-utils (xmllint) the SVG icon, and man-db (man --warnings) the manual page.
PACKAGES += desktop-file-utils appstream libxml2-utils man-db
# A private X server, session bus and AT-SPI registry for the screen-reader check (tests/ui/atspi_check.sh).
PACKAGES += xvfb dbus at-spi2-core python3-pyatspi gir1.2-atspi-2.0
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps configure build run test stress-asan clean web web-deps web-test-deps

deps:
	@missing=$$(for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

# The browser page, build-web/corvani.html, optimised for size. It needs emscripten, and node and
# npm, installed only where the commands are missing (a node from elsewhere may stand in for
# Debian's). em++ finds the JavaScript parser it needs in Debian's module folder, where a node
# from elsewhere does not look.
WEB_BUILD ?= build-web
export NODE_PATH := $(if $(NODE_PATH),$(NODE_PATH):)/usr/share/nodejs
web-deps:
	@$(MAKE) --no-print-directory deps PACKAGES="emscripten"
	@missing=$$(command -v node >/dev/null || echo nodejs; command -v npm >/dev/null || echo npm); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

web: web-deps
	emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=MinSizeRel
	cmake --build $(WEB_BUILD) -j $(JOBS)
	@echo "The page: $(CURDIR)/$(WEB_BUILD)/corvani.html ($$(stat -c %s $(WEB_BUILD)/corvani.html) bytes)"

# What the page's tests drive: Debian's Chromium, and puppeteer-core at the version the lock file
# pins, installed again only when the lock file changes.
WEB_TEST_MODULES := tests/web/node_modules/.package-lock.json
web-test-deps: web-deps
	@$(MAKE) --no-print-directory deps PACKAGES="chromium"
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

# Headless: Qt's offscreen platform, and a private runtime directory so nothing touches the user's.
# The page and what drives it come first, for the tests labelled "web".
test: web web-test-deps build
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
RELEASE_BUILD ?= build-release
BENCH_BUILD ?= build-bench
PACKAGE_TOOLS := dpkg-dev file lintian binutils
.PHONY: package bench bench-web
package: deps
	@$(MAKE) --no-print-directory deps PACKAGES="$(PACKAGE_TOOLS)"
	@eval "$$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"; set -x; \
	cmake -S . -B $(RELEASE_BUILD) -DCMAKE_BUILD_TYPE=None -DBUILD_TESTING=OFF \
	  "-DCMAKE_CXX_FLAGS=$$CPPFLAGS $$CXXFLAGS" "-DCMAKE_EXE_LINKER_FLAGS=$$LDFLAGS" \
	  -DCMAKE_STRIP=$(CURDIR)/cmake/debian-strip
	cmake --build $(RELEASE_BUILD) -j $(JOBS)
	cd $(RELEASE_BUILD) && cpack -G DEB
	bash tests/install/package_check.sh $(RELEASE_BUILD)/corvani_*.deb

# Prints start-up, click and memory figures against their goals; fails if one is missed.
# BENCH_ARGS can set --runs N (fresh processes per window) and --clicks N (per kind of click).
bench: deps
	cmake -S . -B $(BENCH_BUILD) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DCORVANI_BENCH=ON
	cmake --build $(BENCH_BUILD) -j $(JOBS) --target corvani-bench
	@runtime=$$(mktemp -d); \
	XDG_RUNTIME_DIR=$$runtime QT_QPA_PLATFORM=offscreen $(BENCH_BUILD)/tests/bench/corvani-bench $(BENCH_ARGS); \
	status=$$?; rm -rf $$runtime; exit $$status

# The browser page's figures against their goals, in headless Chromium: the page's size, the
# first frame of the bench, clicks at device pixel ratios 1 and 3, and the JavaScript heap after
# random clicks (tests/bench/pagina.js). BENCH_WEB_ARGS can set --loads N, --clicks N (per kind
# and ratio) and --random N. Fails if a goal is missed.
bench-web: web web-test-deps
	node tests/bench/pagina.js $(WEB_BUILD)/corvani.html $(BENCH_WEB_ARGS)
