# Set-up, build, run and test on Debian 12: `make run` and `make test` do everything.
BUILD ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc)
# What the build and the tests need from Debian; only what is missing is installed.
# qt6-base-private-dev: Qt's platform layer, through which the tests switch accessibility on.
PACKAGES := cmake g++ make qt6-base-dev qt6-base-private-dev libgtest-dev fonts-dejavu-core fonts-liberation2
# A private X server, session bus and AT-SPI registry for the screen-reader check (tests/ui/atspi_check.sh).
PACKAGES += xvfb dbus at-spi2-core python3-pyatspi gir1.2-atspi-2.0
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: deps configure build run test clean

deps:
	@missing=$$(for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=$(BUILD_TYPE)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/ui/corvani

# Headless: Qt's offscreen platform, and a private runtime directory so nothing touches the user's.
test: build
	@runtime=$$(mktemp -d); \
	XDG_RUNTIME_DIR=$$runtime QT_QPA_PLATFORM=offscreen \
	  ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS); status=$$?; \
	rm -rf $$runtime; exit $$status

clean:
	rm -rf $(BUILD)
