# make        builds the program (build/tivolu.exe) and the host tools (build/host/)
# make test   installs what is missing, builds, runs every test, ends with "N passed, N failed"
# make run    installs what is missing, builds, starts the program under Wine
# make art    writes the frames, the pictures and their contact sheets to build/art/
# make dist   writes the Windows download, dist/tivolu-<version>.zip
.PHONY: all build host art windows windows64 deps test run dist clean format

all: build

build: host art
	@$(MAKE) --no-print-directory windows TARGETS=tivolu

# HOST_TARGETS narrows the host build as TARGETS does the Windows ones (the test script builds the
# tools first and the host tests beside the Windows tests).
HOST_TARGETS ?=
host:
	@cmake -S . -B build/host -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build build/host $(if $(HOST_TARGETS),--target $(HOST_TARGETS))

art: host
	@scripts/art.sh

# The Windows builds optimise for size (a fifth smaller than for speed; the characters' cost is in
# the platform's calls), and the tests run the code as it ships. TARGETS narrows what is built
# (all of it by default: the program, its tests and their helpers).
TARGETS ?=
windows: host art
	@cmake -S . -B build/win -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-i686.cmake >/dev/null
	@cmake --build build/win $(if $(TARGETS),--target $(TARGETS))

# The same sources for 64-bit Windows, in build/win64: the tests and `make run` use it where the
# kernel cannot run 32-bit code (scripts/winenv.sh decides).
windows64: host art
	@cmake -S . -B build/win64 -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-x86_64.cmake >/dev/null
	@cmake --build build/win64 $(if $(TARGETS),--target $(TARGETS))

deps:
	@scripts/install-deps.sh

# The test script builds what this machine runs, and its summary gives the whole command's time.
test:
	@export TIVOLU_TEST_START=$$(date +%s); scripts/install-deps.sh && scripts/test.sh

run: deps
	@$(MAKE) --no-print-directory build
	@scripts/run.sh

dist: build
	@scripts/dist.sh

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
