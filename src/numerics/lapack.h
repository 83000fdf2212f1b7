#pragma once
// The few BLAS and LAPACK routines the numerics call (OpenBLAS provides
// them, with kernels chosen for the processor at run time), declared as
// their Fortran interface is: every argument by address, and the length of
// each character argument appended at the end.

#include <cstddef>

extern "C" {

// C := alpha A'A + beta C (trans "T") or alpha AA' + beta C (trans "N"),
// the triangle `uplo` of C only.
void dsyrk_(const char* uplo, const char* trans, const int* n, const int* k, const double* alpha,
            const double* a, const int* lda, const double* beta, double* c, const int* ldc,
            std::size_t uploLength, std::size_t transLength);

// C := alpha op(A) op(B) + beta C.
void dgemm_(const char* transa, const char* transb, const int* m, const int* n, const int* k,
            const double* alpha, const double* a, const int* lda, const double* b, const int* ldb,
            const double* beta, double* c, const int* ldc, std::size_t transaLength,
            std::size_t transbLength);

// Chosen eigenvalues (ascending) and eigenvectors of a symmetric matrix, by
// relatively robust representations; A is destroyed.
void dsyevr_(const char* jobz, const char* range, const char* uplo, const int* n, double* a,
             const int* lda, const double* vl, const double* vu, const int* il, const int* iu,
             const double* abstol, int* m, double* w, double* z, const int* ldz, int* isuppz,
             double* work, const int* lwork, int* iwork, const int* liwork, int* info,
             std::size_t jobzLength, std::size_t rangeLength, std::size_t uploLength);

// A symmetric matrix reduced to tridiagonal form, Q' A Q = T, Q held as
// elementary reflectors in A and tau.
void dsytrd_(const char* uplo, const int* n, double* a, const int* lda, double* d, double* e,
             double* tau, double* work, const int* lwork, int* info, std::size_t uploLength);

// Chosen eigenvalues (ascending) and eigenvectors of a symmetric
// tridiagonal matrix, by relatively robust representations.
void dstemr_(const char* jobz, const char* range, const int* n, double* d, double* e,
             const double* vl, const double* vu, const int* il, const int* iu, int* m, double* w,
             double* z, const int* ldz, const int* nzc, int* isuppz, int* tryrac, double* work,
             const int* lwork, int* iwork, const int* liwork, int* info, std::size_t jobzLength,
             std::size_t rangeLength);

// The triangular factor T of a block of reflectors, H = I - V T V'.
void dlarft_(const char* direct, const char* storev, const int* n, const int* k, const double* v,
             const int* ldv, const double* tau, double* t, const int* ldt, std::size_t directLength,
             std::size_t storevLength);

// A block of reflectors applied to a matrix: C := H C.
void dlarfb_(const char* side, const char* trans, const char* direct, const char* storev,
             const int* m, const int* n, const int* k, const double* v, const int* ldv,
             const double* t, const int* ldt, double* c, const int* ldc, double* work,
             const int* ldwork, std::size_t sideLength, std::size_t transLength,
             std::size_t directLength, std::size_t storevLength);

// Solves A X = B for a general square A by LU with partial pivoting; A is
// overwritten by its factors, B by X.
void dgesv_(const int* n, const int* nrhs, double* a, const int* lda, int* ipiv, double* b,
            const int* ldb, int* info);

// The Cholesky factor of a symmetric positive definite matrix, in the
// triangle `uplo`; info > 0 where A is not positive definite.
void dpotrf_(const char* uplo, const int* n, double* a, const int* lda, int* info,
             std::size_t uploLength);

// Solves A X = B with the Cholesky factor dpotrf left in A.
void dpotrs_(const char* uplo, const int* n, const int* nrhs, const double* a, const int* lda,
             double* b, const int* ldb, int* info, std::size_t uploLength);

// Solves A X = B for a symmetric A, indefinite or not, by the Bunch-Kaufman
// factorization; info > 0 where A is singular.
void dsysv_(const char* uplo, const int* n, const int* nrhs, double* a, const int* lda, int* ipiv,
            double* b, const int* ldb, double* work, const int* lwork, int* info,
            std::size_t uploLength);

void openblas_set_num_threads(int threads);

}  // extern "C"
