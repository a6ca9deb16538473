# The two commands of the README. Both set the machine up first.
BUILD := build
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test bench screenshots pictures clean package test-sanitize

deps:
	@scripts/install-deps

configure: deps
	@if [ ! -f $(BUILD)/CMakeCache.txt ]; then cmake -S . -B $(BUILD) -G "$(GENERATOR)"; fi

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/BRZ ]; then $(BUILD)/BRZ; else echo "The program is not built yet; the libraries and tests are."; fi

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b"; done

# Redraws data/images with the picture generator; its output is committed.
pictures: configure
	cmake -S . -B $(BUILD) -DBRISKO_PICTURES=ON >/dev/null
	cmake --build $(BUILD) --target draw-pictures -j $(JOBS)
	$(BUILD)/tools/draw-pictures/draw-pictures data/images

clean:
	rm -rf $(BUILD)

# Pictures of the program's windows (splash, both pages in each style, text editor).
screenshots: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/tests/gui/gui_screenshots $(BUILD)/screenshots

# The unit and GUI suites built with AddressSanitizer and UndefinedBehaviorSanitizer.
SANITIZE_BUILD := build-sanitize
SANITIZE_TESTS := test_hotkeys test_storage test_ini_store test_x11_backend test_x11_offscreen \
  test_gui test_widgets
test-sanitize: export ASAN_OPTIONS := detect_leaks=1
test-sanitize: export LSAN_OPTIONS := suppressions=$(CURDIR)/tests/sanitize/lsan.supp:print_suppressions=0
test-sanitize: export UBSAN_OPTIONS := print_stacktrace=1:halt_on_error=1
test-sanitize: deps
	@if [ ! -f $(SANITIZE_BUILD)/CMakeCache.txt ]; then \
	  cmake -S . -B $(SANITIZE_BUILD) -G "$(GENERATOR)" -DBRISKO_SANITIZE=ON; fi
	cmake --build $(SANITIZE_BUILD) -j $(JOBS) --target $(SANITIZE_TESTS)
	cd $(SANITIZE_BUILD) && ctest --output-on-failure -j $(JOBS) -L "unit|gui"

# The Debian package, built in its own tree with Debian's hardening flags and the /usr prefix.
PACKAGE_BUILD := build-package
package: deps
	@if [ ! -f $(PACKAGE_BUILD)/CMakeCache.txt ]; then \
	  CXXFLAGS="$$(dpkg-buildflags --get CXXFLAGS) $$(dpkg-buildflags --get CPPFLAGS)" \
	  LDFLAGS="$$(dpkg-buildflags --get LDFLAGS)" \
	  cmake -S . -B $(PACKAGE_BUILD) -G "$(GENERATOR)" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_INSTALL_PREFIX=/usr -DBRISKO_TESTS=OFF; fi
	cmake --build $(PACKAGE_BUILD) -j $(JOBS)
	cd $(PACKAGE_BUILD) && cpack -G DEB
	@ls $(PACKAGE_BUILD)/*.deb
