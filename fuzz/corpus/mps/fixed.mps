NAME          FIXED
ROWS
 N  COST
 L  LIM 1
 G  LIM 2
COLUMNS
    X 1       COST               1.5   LIM 1                1.
    X 1       LIM 2               -1.
    X 2       LIM 2              .25
RHS
              LIM 1                4.   LIM 2              -1.
BOUNDS
 UP BND       X 2                 8.
 LI BND       X 1                -2.
ENDATA
