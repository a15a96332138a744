# The two commands of the README: `make run` and `make test`. Both install
# the Debian packages that are missing first.
BUILD ?= build
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
PACKAGES := cmake make g++ qt6-base-dev libgl-dev libgtest-dev libgmock-dev libbenchmark-dev \
            fonts-liberation2 libfontconfig1

.PHONY: setup configure build run test package clean

setup:
	@tools/setup-packages $(PACKAGES)

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo

configure: setup $(BUILD)/CMakeCache.txt

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/vantor

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# A .deb that installs the game, its desktop entry and icons.
package: build
	@tools/setup-packages dpkg-dev
	cd $(BUILD) && cpack

clean:
	rm -rf $(BUILD)
