#include <AAX/AAX_CheckedResult.h>

#include <string>

AAX_CheckedResult::Exception::Exception(AAX_Result result)
    : std::runtime_error("AAX result " + std::to_string(result)), result_(result) {}

AAX_CheckedResult::AAX_CheckedResult(AAX_Result result) {
    *this = result;
}

AAX_CheckedResult& AAX_CheckedResult::operator=(AAX_Result result) {
    last_ = result;
    if (result != AAX_SUCCESS) {
        throw Exception(result);
    }
    return *this;
}
