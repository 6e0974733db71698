# One static library per layer of the core, linking only the layers it may use. The link lines
# are the layer plan: yelian_layer() records them in the build folder, and the layer check
# (scripts/check_layers.py, run by ctest) refuses an include of a layer that is not linked.
function(yelian_layer name)
    cmake_parse_arguments(LAYER "" "" "LAYERS;LIBRARIES" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${name}/*.cc)
    add_library(yelian_${name} STATIC ${sources})
    target_include_directories(yelian_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(yelian_${name} PUBLIC yelian_options)
    foreach(layer IN LISTS LAYER_LAYERS)
        target_link_libraries(yelian_${name} PUBLIC yelian_${layer})
    endforeach()
    if(LAYER_LIBRARIES)
        target_link_libraries(yelian_${name} PRIVATE ${LAYER_LIBRARIES})
    endif()
    yelian_plan(${name} ${LAYER_LAYERS})
    set_property(GLOBAL APPEND PROPERTY YELIAN_LAYERS ${name})
endfunction()

# Records which layers a folder of src/ may include, for targets not made by yelian_layer().
function(yelian_plan name)
    list(JOIN ARGN "," linked)
    set_property(GLOBAL APPEND PROPERTY YELIAN_LAYER_PLAN "${name}:${linked}")
endfunction()

# The tests of a layer (src/<layer>/tests/*.cc), one ctest entry per test case.
function(yelian_layer_tests name)
    file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${name}/tests/*.cc)
    if(NOT sources)
        return()
    endif()
    add_executable(yelian_${name}_tests ${sources})
    target_link_libraries(yelian_${name}_tests PRIVATE yelian_${name} yelian_testing
        GTest::gtest_main)
    gtest_discover_tests(yelian_${name}_tests
        TEST_PREFIX "${name}."
        PROPERTIES ENVIRONMENT "YELIAN_TEST_BINARY_DIR=${PROJECT_BINARY_DIR}"
        DISCOVERY_TIMEOUT 60)
endfunction()

# Writes the layer plan where the layer check reads it: one line per layer, "name:dep,dep".
function(yelian_write_layer_plan file)
    get_property(plan GLOBAL PROPERTY YELIAN_LAYER_PLAN)
    list(JOIN plan "\n" text)
    file(GENERATE OUTPUT ${file} CONTENT "${text}\n")
endfunction()
