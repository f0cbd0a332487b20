# The entry points of the project; see README.md.
BUILD   ?= build
RELEASE := $(BUILD)/release
TESTDIR := $(BUILD)/test
BIN     := $(RELEASE)/apps/file-explorer/file-explorer
SHOTS   := $(BUILD)/shots
JOBS    ?= $(shell nproc)

.PHONY: deps release run test shot bench clean

deps:
	@bash scripts/install-deps

release: deps
	@cmake -S . -B $(RELEASE) -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVO_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(RELEASE) -j $(JOBS)

# Opens the window; without a display it renders the "grid" scene of the home folder instead.
run: release
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  $(BIN) $(ARGS); \
	else \
	  echo "No display: rendering the grid scene instead of opening a window."; \
	  $(BIN) --shot grid --shot-out $(SHOTS)/grid.png $(ARGS); \
	fi

test: deps
	@cmake -S . -B $(TESTDIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKAVO_SANITIZE=ON -DKAVO_WERROR=ON >/dev/null
	@cmake --build $(TESTDIR) -j $(JOBS)
	@ctest --test-dir $(TESTDIR) --output-on-failure -j $(JOBS)

# make shot SCENE=name [SIZE=WxH] [DIR=folder]
shot: release
	@test -n "$(SCENE)" || { echo "usage: make shot SCENE=name [SIZE=WxH] [DIR=folder]"; exit 2; }
	@$(BIN) --shot $(SCENE) --shot-out $(SHOTS)/$(SCENE).png $(if $(SIZE),--size $(SIZE)) $(if $(DIR),--path $(DIR))

bench: deps
	@cmake -S . -B $(BUILD)/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVO_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(BUILD)/bench -j $(JOBS)
	@BUILD_DIR=$(BUILD)/bench bash bench/run

clean:
	rm -rf $(BUILD)
