# Thin wrapper around CMake: `make demo`, `make test`, `make bench`.
BUILD ?= build
# The same sources with the user interface left out: the core and its tests, no display.
CORE_BUILD ?= build-core
JOBS ?= $(shell nproc)
# -noreset: a server that resets when its last client leaves refuses the next test for a moment.
XVFB = xvfb-run -a -s "-screen 0 1600x1000x24 -noreset"
DEB_PACKAGES = cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libqt6sql6-sqlite libgl1-mesa-dev \
	libgl1-mesa-dri libglm-dev zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev \
	xvfb xauth x11-utils imagemagick libx11-dev libxtst-dev fonts-dejavu-core fonts-crosextra-carlito \
	libkrb5-dev gss-ntlmssp python3 python3-gssapi python3-winrm openssl wsdd iproute2 samba nftables ccache \
	qtkeychain-qt6-dev libsecret-1-0 gnome-keyring libsecret-tools dbus python3-prometheus-client \
	desktop-file-utils appstream dpkg-dev \
	libldap-dev libsasl2-dev libsasl2-modules-gssapi-mit samba-ad-dc krb5-user python3-requests-kerberos
BENCH_PACKAGES = libassimp-dev
PACKAGE_PACKAGES = lintian fakeroot
# make install: where to (PREFIX), and a staging root for packagers (DESTDIR).
PREFIX ?= /usr/local
DESTDIR ?=

# Both builds compile the same core sources: ccache, with paths taken relative
# to this folder, compiles each of them once (and again only when it changes).
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_NOHASHDIR := 1
LAUNCHER = $$(command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_HARNESSES = xfile_text xfile_binary xfile_mszip nodefile settings simnet json report sen_cd netbios identify connections
FUZZ_PACKAGES = clang-14 libclang-rt-14-dev

.PHONY: all deps build build-core demo test stress bench fuzz install package clean

all: build

# Installs the Debian packages that are missing (needs root or sudo).
deps:
	@missing=$$(for p in $(DEB_PACKAGES) $(EXTRA_PACKAGES); do \
		dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "install ok installed" || echo $$p; done); \
	if [ -n "$$missing" ]; then \
		echo "Installing: $$missing"; \
		SUDO=$$( [ "$$(id -u)" = 0 ] || echo sudo ); \
		$$SUDO apt-get update -qq && DEBIAN_FRONTEND=noninteractive $$SUDO apt-get install -y -qq $$missing >/dev/null; \
	fi

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(LAUNCHER) >/dev/null
	cmake --build $(BUILD) -j$(JOBS)

build-core: deps
	cmake -S . -B $(CORE_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLU_GUI=OFF $(LAUNCHER) >/dev/null
	cmake --build $(CORE_BUILD) -j$(JOBS)

demo: build
	@if [ -n "$$DISPLAY" ]; then \
		$(BUILD)/vorlu-optical --demo; \
	else \
		$(XVFB) tools/demo-screenshot.sh $(BUILD) demo-screenshot.png; \
	fi

# The core tests run with no display at all; the widget and whole-program
# tests on the user's display or else on Xvfb, and without either they fail.
# No session bus for the tests: a program under test that looks for one (Qt's accessibility, the
# keyring) must not start one in the user's home; the keyring tests bring a bus of their own.
test: export DBUS_SESSION_BUS_ADDRESS = unix:path=$(CURDIR)/$(BUILD)/no-session-bus
test: build-core build
	cd $(CORE_BUILD) && env -u DISPLAY -u WAYLAND_DISPLAY ctest --output-on-failure -j2
	@if [ -n "$$DISPLAY" ]; then \
		cd $(BUILD) && ctest --output-on-failure -j2; \
	elif command -v xvfb-run >/dev/null; then \
		cd $(BUILD) && $(XVFB) ctest --output-on-failure -j2; \
	else \
		echo "make test: the widget and whole-program tests need a display: install Xvfb (xvfb-run) or set DISPLAY" >&2; \
		exit 1; \
	fi

# The kill test in full: 100 trials instead of the 10 of `make test`.
stress: build
	@if [ -n "$$DISPLAY" ]; then \
		cd $(BUILD) && VORLU_KILL_TRIALS=100 ctest --output-on-failure -R 'Kill\.'; \
	else \
		cd $(BUILD) && VORLU_KILL_TRIALS=100 $(XVFB) ctest --output-on-failure -R 'Kill\.'; \
	fi

bench:
	$(MAKE) deps EXTRA_PACKAGES="$(BENCH_PACKAGES)"
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLU_BENCH=ON >/dev/null
	cmake --build $(BUILD) -j$(JOBS)
	@for b in $(BUILD)/*_bench; do echo "== $$b"; $(XVFB) $$b || exit 1; done

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# The Debian package in $(BUILD)/, checked by lintian (which may take a minute).
package: build
	$(MAKE) deps EXTRA_PACKAGES="$(PACKAGE_PACKAGES)"
	cd $(BUILD) && cpack
	lintian --fail-on error $(BUILD)/vorlu-optical_*.deb

# Each harness runs FUZZ_SECONDS with the committed seeds; what it learns goes to the build
# folder, and a fault leaves its input there (crash-*, timeout-*, oom-*) and stops the run.
fuzz:
	$(MAKE) deps EXTRA_PACKAGES="$(FUZZ_PACKAGES)"
	cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLU_FUZZ=ON -DBUILD_TESTING=OFF \
		-DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
	cmake --build $(FUZZ_BUILD) -j$(JOBS)
	@for h in $(FUZZ_HARNESSES); do \
		echo "== fuzz_$$h for $(FUZZ_SECONDS) s"; \
		mkdir -p $(FUZZ_BUILD)/corpus/$$h $(FUZZ_BUILD)/faults/$$h; \
		$(FUZZ_BUILD)/fuzz_$$h -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=2048 -malloc_limit_mb=256 -timeout=10 \
			-print_final_stats=1 -artifact_prefix=$(FUZZ_BUILD)/faults/$$h/ -dict=fuzz/dict/$$h.dict \
			$(FUZZ_BUILD)/corpus/$$h fuzz/corpus/$$h || exit 1; \
	done

clean:
	rm -rf $(BUILD) $(CORE_BUILD)
