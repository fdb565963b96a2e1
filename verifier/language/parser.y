/* Grammar of the .alg problem language. Every list is left-recursive, so the
   parser stack stays shallow however long a file is. Each action is one
   call into the statement actions (actions.h), which own the semantics. */
%code {
#include <cstdio>

#include "actions.h"
#include "parse.h"
#include "scanner.h"
}

%define api.prefix {zel}
%expect 0

%code requires {
#include "actions.h"
}

/* A NAME token points into the scanner's buffer; a factor is its name (the
   statement actions' copy, see actions.h) with its exponent; an exponent
   carries its exact 64-bit value. */
%union {
  char *text;
  Factor factor;
  unsigned long exp;
}

%token <text> NAME 258
%token <exp> EXPONENT 259
%type <factor> factor
%type <exp> power

%start problem_list

%%

problem_list
    : problem                           { endProblem(); }
    | problem_list problem              { endProblem(); }
    ;

problem
    : var_list ';' aux_list ';' field_poly ';' spec_poly ';' circuit_list ';'
    ;

aux_list
    : factor                            { auxName($1); }
    | aux_list ',' factor               { auxName($3); }
    ;

var_list
    : factor                            { declareName($1); }
    | var_list ',' factor               { declareName($3); }
    ;

field_poly
    : field_terms                       { endField(); }
    ;

field_terms
    : factor                            { firstFieldTerm($1); }
    | field_terms '+' factor            { nextFieldTerm($3); }
    ;

spec_poly
    : poly                              { endSpec(); }
    ;

circuit_list
    : poly                              { endCircuitPoly(); }
    | circuit_list ',' poly             { endCircuitPoly(); }
    ;

poly
    : term                              { endTerm(); }
    | poly '+' term                     { endTerm(); }
    ;

term
    : factor                            { termFactor($1); }
    | coef '*' factor                   { termFactor($3); }
    | term '*' factor                   { termFactor($3); }
    ;

coef
    : coef_terms ')'                    { endCoef(); }
    ;

coef_terms
    : '(' factor                        { firstCoefTerm($2); }
    | coef_terms '+' factor             { nextCoefTerm($3); }
    ;

factor
    : NAME                              { $$ = nameFactor($1); }
    | factor power                      { $$ = $1; $$.exponent = $2; }
    ;

power
    : EXPONENT                          { $$ = $1; }
    ;

%%

int zelerror(const char *msg) {
  std::printf("ERROR:line %d: %s\n", zellineno, msg);
  return 1;
}
