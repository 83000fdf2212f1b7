LM=1
0 0
ID=]0;ownedÿÂ›
