# The two commands of the README. Both set the machine up first.
BUILD := build
GENERATOR := $(shell command -v ninja >/dev/null 2>&1 && echo Ninja || echo "Unix Makefiles")
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test bench screenshots pictures clean

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
