# Third-party libraries, all from the system's packages.
find_package(nlohmann_json 3.10 REQUIRED)
find_package(fmt 9 REQUIRED)
find_package(spdlog 1.10 REQUIRED)
find_package(Threads REQUIRED)
