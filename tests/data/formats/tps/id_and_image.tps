LM=2
0 0
3 4
IMAGE=photos/a.jpg
ID=skull_a
LM=2
1 1
4 5
IMAGE=photos/b.jpg
LM=2
0 0
0 2
