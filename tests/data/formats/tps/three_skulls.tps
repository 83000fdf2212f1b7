LM3=3
0 0 0
3 4 0
1 1 5
ID=skull_a
LM3=3
0.5 0 -1
2 2 2
1.25 3 0
ID=skull_b
LM3=3
1 1 1
NA NA NA
-2 0 4
ID=skull_c
