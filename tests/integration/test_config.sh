#!/usr/bin/env bash
# The configuration dialog end to end: "/c" opens the dialog filled from the store, a directory
# is added through the real folder browser, Save is pressed and its confirmation answered, and
# the store then holds what the show reads. The steps that differ by OS (the folder browser, the
# system's screen-saver selection, help and the about box) are in config_scenario_<os>.sh.
source "$(dirname "$0")/lib.sh"

it_start_display 1024x768
it_prepare_environment
it_build_tools || { fail "the test tools build"; it_finish; }

# shellcheck source=/dev/null
source "$IT_HERE/config_scenario_${IT_PLATFORM}.sh"
it_finish
