# The Python that runs the tests driving the real programs: Debian's own
# python3 first, whatever PATH says.
find_program(STAKKO_PYTHON3 NAMES python3 PATHS /usr/bin NO_DEFAULT_PATH)
find_program(STAKKO_PYTHON3 NAMES python3)
