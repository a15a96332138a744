# The two commands of the README: `make run` and `make test`. Both install
# the Debian packages that are missing first.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
# Liberation Sans 2, which the window and the page are set in: fonts-liberation
# from Debian 13 on; Debian 12's fonts-liberation is still version 1, with
# other glyphs, and there version 2 is fonts-liberation2.
FONT_PACKAGE = $(shell v=$$(apt-cache show --no-all-versions fonts-liberation 2>/dev/null | sed -n 's/^Version: //p'); \
                 dpkg --compare-versions "$$v" ge 1:2 && echo fonts-liberation || echo fonts-liberation2)
PACKAGES = cmake make g++ qt6-base-dev libxcb1-dev qt6-base-private-dev libgl-dev libgtest-dev libgmock-dev libbenchmark-dev \
           $(FONT_PACKAGE) libfontconfig1 qt6-wayland

BENCH_PACKAGES := xvfb xauth xdotool x11-utils time
PACKAGE_PACKAGES := dpkg-dev debhelper build-essential
CHECK_PACKAGE_PACKAGES := lintian desktop-file-utils appstream appstream-compose man-db \
                          sbuild mmdebstrap uidmap piuparts autopkgtest
WAYLAND_PACKAGES := weston
CHECK_DESKTOP_PACKAGES := xvfb xauth xdotool x11-utils orca at-spi2-core dbus-daemon python3-gi gir1.2-atspi-2.0
FUZZ_SECONDS ?= 30
# The Windows program: cross-built with mingw-w64, packed with NSIS and zip,
# tested under 64-bit Wine in Xvfb.
BUILD_WINDOWS ?= build-windows
WINDOWS_PACKAGES := cmake make g++-mingw-w64-x86-64-posix googletest nsis zip
CHECK_WINDOWS_PACKAGES := wine wine64 xvfb xauth xdotool x11-utils
# What builds or starts Qt programs here runs with a private runtime folder
# where the environment has none, so Qt has nothing to warn about as root.
WITH_RUNTIME := $(CURDIR)/tools/with-runtime-dir

# The browser build. Debian's emscripten runs on Debian's node modules,
# whichever node comes first on PATH.
WEB_BUILD ?= build-web
PORT ?= 8000
WEB_PACKAGES = emscripten python3-fonttools python3-brotli $(FONT_PACKAGE)
# The site is played in chromium, Firefox ESR and WebKitGTK's MiniBrowser, the
# last in Xvfb, held keys repeated by the X server through xdotool.
CHECK_WEB_PACKAGES := chromium firefox-esr webkit2gtk-driver xvfb xauth xdotool
EMSCRIPTEN_ENV := NODE_PATH=/usr/share/nodejs

.PHONY: setup configure build run test check-wayland check-desktop sanitize fuzz bench package check-package check-reproducible clean \
        web serve-web check-web bench-web lighthouse windows check-windows bench-windows check-debian12 check-debian13

setup:
	@tools/setup-packages $(PACKAGES)

$(BUILD)/CMakeCache.txt:
	cmake --preset default -B $(BUILD)

configure: setup $(BUILD)/CMakeCache.txt

build: configure
	$(WITH_RUNTIME) cmake --build $(BUILD) -j $(JOBS)

run: build
	$(WITH_RUNTIME) ./$(BUILD)/vantor

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen $(WITH_RUNTIME) ctest --output-on-failure -j $(JOBS)

# The scenario book (tests/book) played on a bare X server with real keys and
# clicks, the window read over AT-SPI; ONLY=words plays the scenarios named
# so. Then played with Orca, GNOME's screen reader, whose speech is printed.
check-desktop: build
	@tools/setup-packages $(CHECK_DESKTOP_PACKAGES)
	$(WITH_RUNTIME) timeout 600 tests/qt/play-book $(BUILD)/vantor
	$(WITH_RUNTIME) timeout 300 tests/qt/check-screen-reader $(BUILD)/vantor

# The game as a native Wayland client: a headless weston, the first window
# mapped as a toplevel with its title and app id.
check-wayland: build
	@tools/setup-packages $(WAYLAND_PACKAGES)
	tests/wayland/check-wayland $(BUILD)/vantor

# The whole suite again with AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize: setup
	cmake --preset sanitize -B $(BUILD)-sanitize
	$(WITH_RUNTIME) cmake --build $(BUILD)-sanitize -j $(JOBS)
	cd $(BUILD)-sanitize && QT_QPA_PLATFORM=offscreen $(WITH_RUNTIME) ctest --output-on-failure -j $(JOBS)

# Text in the time box, fuzzed from the committed seeds for FUZZ_SECONDS.
# libFuzzer is in the runtime of the release's own clang, whose major version
# names the package.
fuzz: setup
	@tools/setup-packages clang
	@tools/setup-packages libclang-rt-$$(clang -dumpversion | cut -d. -f1)-dev
	cmake --preset fuzz -B $(BUILD)-fuzz
	cmake --build $(BUILD)-fuzz --target fuzz_time_box -j $(JOBS)
	mkdir -p $(BUILD)-fuzz/corpus
	$(BUILD)-fuzz/fuzz/fuzz_time_box -max_total_time=$(FUZZ_SECONDS) -timeout=5 -max_len=256 \
	  -artifact_prefix=$(BUILD)-fuzz/ -print_final_stats=1 $(BUILD)-fuzz/corpus fuzz/corpus

# The measurements, as one table.
bench: build
	@tools/setup-packages $(BENCH_PACKAGES)
	cmake --build $(BUILD) -j $(JOBS) --target tick_benchmark tick_rate bare_window
	$(WITH_RUNTIME) bench/run-all.sh $(BUILD)

# The source package and the binary ones, made by dpkg-buildpackage in a copy
# of the tree at $(BUILD)/source, so that its results land in $(BUILD) and
# nothing beside the clone. DEB_BUILD_OPTIONS=nocheck skips the suite.
package: setup
	@tools/setup-packages $(PACKAGE_PACKAGES)
	rm -rf $(BUILD)/source
	tools/copy-source $(BUILD)/source
	cd $(BUILD)/source && dpkg-buildpackage -us -uc -J$(JOBS)

# The source and binary packages under lintian, built again by sbuild for
# Debian 12 and 13 in clean chroots (the host's build to the same bytes),
# installed and purged by piuparts, tested by autopkgtest, and the desktop
# entry, AppStream metainfo, icons and man page checked. sbuild and
# autopkgtest run unprivileged in a user namespace: root gets a subordinate
# id range once, as a user would.
check-package: package
	@tools/setup-packages $(CHECK_PACKAGE_PACKAGES)
	@grep -q '^root:' /etc/subuid 2>/dev/null && grep -q '^root:' /etc/subgid 2>/dev/null || \
	  usermod --add-subuids 100000-165535 --add-subgids 100000-165535 root
	$(WITH_RUNTIME) tests/package/check-package $(BUILD)

# The package built twice by reprotest, the second time with another time,
# path, locale, umask, file order, CPU count and home: the same bytes. The
# suite is left out, as it changes nothing in them.
check-reproducible: setup
	@tools/setup-packages $(PACKAGE_PACKAGES) reprotest disorderfs faketime locales-all
	rm -rf $(BUILD)/reprotest && tools/copy-source $(BUILD)/reprotest/vantor
	cd $(BUILD)/reprotest/vantor && reprotest --vary=-user_group,-domain_host,-kernel --store-dir=../results \
	  -c 'DEB_BUILD_OPTIONS=nocheck dpkg-buildpackage -us -uc -b' . '../*.deb'

# The static site in $(WEB_BUILD)/site: index.html at its root, relative
# paths only. The icons come from the native build's converter.
web: configure
	@tools/setup-packages $(WEB_PACKAGES)
	$(WITH_RUNTIME) cmake --build $(BUILD) -j $(JOBS) --target ico_to_png
	$(WITH_RUNTIME) $(BUILD)/ico_to_png scene/pictures/vantor.ico $(WEB_BUILD)/icons --page
	test -f $(WEB_BUILD)/cmake/CMakeCache.txt || $(EMSCRIPTEN_ENV) emcmake cmake --preset web -B $(WEB_BUILD)/cmake
	$(EMSCRIPTEN_ENV) cmake --build $(WEB_BUILD)/cmake -j $(JOBS) --target vantor_web
	/usr/bin/python3 packaging/web/build-site $(WEB_BUILD)/site $(WEB_BUILD)/cmake/platform/web $(WEB_BUILD)/icons

serve-web: web
	node packaging/web/serve.mjs $(WEB_BUILD)/site $(PORT)

$(WEB_BUILD)/node_modules.stamp: tests/web/package.json tests/web/package-lock.json
	@tools/setup-packages $(CHECK_WEB_PACKAGES)
	@command -v npm >/dev/null || tools/setup-packages npm
	cd tests/web && npm ci --no-audit --no-fund
	@touch $@

# The logic tests compiled to WebAssembly under node, the site's server's
# codings, then in Chromium, Firefox and WebKit the scenario book and what
# only a page has.
check-web: web $(WEB_BUILD)/node_modules.stamp
	$(EMSCRIPTEN_ENV) cmake --build $(WEB_BUILD)/cmake -j $(JOBS) --target vantor_tests
	cd $(WEB_BUILD)/cmake && ctest --output-on-failure
	node tests/web/check-serve.mjs $(WEB_BUILD)/site
	tests/web/play-book $(WEB_BUILD)/site; book=$$?; node tests/web/check-web.mjs $(WEB_BUILD)/site && exit $$book

# Lighthouse 12, pinned in its own lock file, apart from the checks' browser driver.
LIGHTHOUSE := bench/web/lighthouse
$(WEB_BUILD)/lighthouse.stamp: $(LIGHTHOUSE)/package.json $(LIGHTHOUSE)/package-lock.json
	@tools/setup-packages $(CHECK_WEB_PACKAGES)
	@command -v npm >/dev/null || tools/setup-packages npm
	cd $(LIGHTHOUSE) && npm ci --no-audit --no-fund
	@mkdir -p $(@D) && touch $@

# Lighthouse's scores as a phone and as a desktop see the site, served
# compressed; fails below the floors in lighthouse.mjs.
lighthouse: web $(WEB_BUILD)/lighthouse.stamp
	node $(LIGHTHOUSE)/lighthouse.mjs $(WEB_BUILD)/site

# The site's measurements, as one table, and Lighthouse's scores.
bench-web: web $(WEB_BUILD)/node_modules.stamp $(WEB_BUILD)/lighthouse.stamp
	$(EMSCRIPTEN_ENV) cmake --build $(WEB_BUILD)/cmake -j $(JOBS) --target tick_benchmark_web
	cmake --build $(BUILD) -j $(JOBS) --target tick_benchmark
	node bench/web/bench-web.mjs $(WEB_BUILD) $(BUILD)

# build-windows/vantor.exe, the zip that holds it alone, and the installer.
windows:
	@tools/setup-packages $(WINDOWS_PACKAGES)
	cmake --preset windows -B $(BUILD_WINDOWS)
	cmake --build $(BUILD_WINDOWS) -j $(JOBS)
	packaging/windows/build-packages $(BUILD_WINDOWS)

# The suite under Wine, the game played under Wine in Xvfb, the installer,
# and the program built again elsewhere byte for byte. Each run makes its
# Wine prefix anew; a check that hangs is ended.
check-windows: windows
	@tools/setup-packages $(CHECK_WINDOWS_PACKAGES)
	rm -rf $(BUILD_WINDOWS)/wine
	cd $(BUILD_WINDOWS) && ctest --output-on-failure
	timeout 900 tests/windows/check-windows $(BUILD_WINDOWS)

# The Windows program's measurements under Wine, against the desktop build's.
bench-windows: windows build
	@tools/setup-packages $(CHECK_WINDOWS_PACKAGES) $(BENCH_PACKAGES)
	cmake --build $(BUILD) -j $(JOBS) --target tick_benchmark tick_rate
	cmake --build $(BUILD_WINDOWS) -j $(JOBS) --target tick_rate tick_benchmark bare_window
	bench/windows/run.sh $(BUILD_WINDOWS) $(BUILD)

# .ci/run's checks again, from a clone of the last commit on a fresh Debian 12
# or 13 made with debootstrap (as root).
check-debian12 check-debian13: check-debian%:
	tests/package/check-ci-on-fresh-debian $*

clean:
	rm -rf $(BUILD) $(BUILD)-sanitize $(BUILD)-fuzz $(WEB_BUILD) $(BUILD_WINDOWS)
