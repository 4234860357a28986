# Real servers for the tests, started as ctest fixtures and stopped afterwards.
# Each build tree gets its own display number and socket folder, so two build
# trees can run their tests at the same time. Every server is a private one:
# nothing of the machine's own X server, session bus, sound server or print scheduler
# is used, changed or stopped. The X server, the bus and the sound server run as the
# user who runs the tests and keep their sockets in the build tree. The print
# scheduler's filters run as its own user, who may not pass into the checkout (a
# clone in a 0700 home), so cups.sh keeps its files in a folder of the temporary
# folder; only its socket for the test user is here.
string(MD5 _svc_hash "${CMAKE_BINARY_DIR}")
string(SUBSTRING "${_svc_hash}" 0 3 _svc_hex)
math(EXPR SERVICE_DISPLAY_NUMBER "0x${_svc_hex} % 800 + 100")
set(SERVICE_RUN_DIR "${CMAKE_BINARY_DIR}/svc")
set(SERVICE_DISPLAY ":${SERVICE_DISPLAY_NUMBER}")
set(SERVICE_DBUS_ADDRESS "unix:path=${SERVICE_RUN_DIR}/dbus/bus")
set(SERVICE_PULSE_SERVER "unix:${SERVICE_RUN_DIR}/pulse/native")
# A domain socket only: no network port to collide with another scheduler.
set(SERVICE_CUPS_SERVER "${SERVICE_RUN_DIR}/cups.sock")

# Environment every test that uses a real server receives.
set(SERVICE_ENVIRONMENT
    "SERVICE_RUN_DIR=${SERVICE_RUN_DIR}"
    "DISPLAY=${SERVICE_DISPLAY}"
    "DBUS_SESSION_BUS_ADDRESS=${SERVICE_DBUS_ADDRESS}"
    "PULSE_SERVER=${SERVICE_PULSE_SERVER}"
    # Sound clients keep their key here rather than in the user's configuration.
    "PULSE_COOKIE=${SERVICE_RUN_DIR}/pulse/cookie"
    "CUPS_SERVER=${SERVICE_CUPS_SERVER}"
    "XDG_RUNTIME_DIR=${SERVICE_RUN_DIR}/runtime")

foreach(_svc xvfb dbus pulse cups)
    add_test(NAME svc_${_svc}_start
             COMMAND bash ${PROJECT_SOURCE_DIR}/tools/svc/${_svc}.sh start)
    add_test(NAME svc_${_svc}_stop
             COMMAND bash ${PROJECT_SOURCE_DIR}/tools/svc/${_svc}.sh stop)
    set_tests_properties(svc_${_svc}_start PROPERTIES FIXTURES_SETUP ${_svc}
                         ENVIRONMENT "${SERVICE_ENVIRONMENT}" LABELS service)
    set_tests_properties(svc_${_svc}_stop PROPERTIES FIXTURES_CLEANUP ${_svc}
                         ENVIRONMENT "${SERVICE_ENVIRONMENT}" LABELS service)
endforeach()
