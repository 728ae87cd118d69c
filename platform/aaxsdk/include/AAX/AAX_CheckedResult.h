#pragma once
// AAX_CheckedResult: a result that throws unless it is success, so a sequence of SDK calls
// needs no test after each one.
//
//     AAX_CheckedResult result;
//     result = descriptor->AddName("KelvoFennic"); // throws AAX_CheckedResult::Exception
//
// Promises: constructing from or assigning AAX_SUCCESS does nothing; any other result throws
// an Exception (a std::runtime_error) whose text names the result and which carries it.

#include <AAX/AAX.h>

#include <stdexcept>

class AAX_CheckedResult {
public:
    class Exception : public std::runtime_error {
    public:
        explicit Exception(AAX_Result result);
        AAX_Result Result() const noexcept { return result_; }

    private:
        AAX_Result result_;
    };

    AAX_CheckedResult() = default;
    AAX_CheckedResult(AAX_Result result); // implicit: a result converts where a check is wanted
    AAX_CheckedResult& operator=(AAX_Result result);

    AAX_Result Result() const noexcept { return last_; }

private:
    AAX_Result last_ = AAX_SUCCESS;
};
